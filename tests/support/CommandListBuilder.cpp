#include "tests/support/CommandListBuilder.h"

#include <array>

CommandListBuilder& CommandListBuilder::Add(std::vector<int32_t> arguments, std::vector<std::string> strings) {
  CommandRecord command;
  command.arguments = std::move(arguments);
  command.indent = static_cast<uint8_t>(indent_);
  command.strings = std::move(strings);
  commands_.push_back(std::move(command));
  return *this;
}

CommandListBuilder& CommandListBuilder::Indent() {
  ++indent_;
  return *this;
}

CommandListBuilder& CommandListBuilder::Outdent() {
  if (indent_ > 0) --indent_;
  return *this;
}

CommandListBuilder& CommandListBuilder::Variable(int32_t target, int32_t a, int32_t b, int32_t assign, int32_t calc,
                                                 int32_t extraFlags, int32_t rangeCount) {
  return Add({121, target, a, b, VariableFlags(assign, calc, extraFlags), rangeCount});
}

CommandListBuilder& CommandListBuilder::Branch(std::initializer_list<BranchCondition> conditions) {
  std::vector<int32_t> arguments = {111, static_cast<int32_t>(conditions.size())};
  for (const BranchCondition& c : conditions) {
    arguments.push_back(c.left);
    arguments.push_back(c.right);
    arguments.push_back(c.kind | (c.literal ? 0x10 : 0));
  }
  Add(std::move(arguments));
  Add({401, 1});
  return Indent();
}

CommandListBuilder& CommandListBuilder::Case(int32_t n) {
  Outdent();
  Add({401, n});
  return Indent();
}

CommandListBuilder& CommandListBuilder::ElseCase() {
  Outdent();
  Add({420, 0});
  return Indent();
}

CommandListBuilder& CommandListBuilder::EndBranch() {
  Outdent();
  return Add({499});
}

CommandListBuilder& CommandListBuilder::Loop() {
  Add({170});
  return Indent();
}

CommandListBuilder& CommandListBuilder::LoopCount(int32_t n) {
  Add({179, n});
  return Indent();
}

CommandListBuilder& CommandListBuilder::EndLoop() {
  Outdent();
  return Add({498});
}

CommandListBuilder& CommandListBuilder::Label(const std::string& name) { return Add({212}, {name}); }

CommandListBuilder& CommandListBuilder::Jump(const std::string& name) { return Add({213}, {name}); }

CommandListBuilder& CommandListBuilder::Database(int32_t type, int32_t data, int32_t item, int32_t flags,
                                                 int32_t operand, std::vector<std::string> strings) {
  return Add({250, type, data, item, flags, operand}, std::move(strings));
}

EventCommandList CommandListBuilder::Build() const {
  EventCommandList list = commands_;
  list.push_back(CommandRecord({EventCommand::kEndCode}));
  return list;
}

uint32_t ChoiceSource::Next(uint32_t bound) {
  if (bound <= 1) return 0;
  uint32_t value = 0;
  if (data_) {
    for (uint32_t span = bound - 1; span > 0; span >>= 8) value = (value << 8) | (at_ < size_ ? data_[at_++] : 0);
  } else {
    seed_ = seed_ * 6364136223846793005ULL + 1442695040888963407ULL;
    value = static_cast<uint32_t>(seed_ >> 33);
  }
  return value % bound;
}

namespace {

constexpr int32_t kMask = 16383;

class Generator {
 public:
  Generator(ChoiceSource& choices, int32_t maxCommands) : c_(choices), left_(maxCommands) {}

  EventCommandList Run() {
    int32_t labels = 0;
    while (left_ > 0 && !c_.Exhausted()) {
      const bool jump = c_.Next(8) == 0;
      std::string name = std::to_string(labels++);
      name.insert(name.begin(), 'L');
      if (jump) b_.Jump(name);
      Item(0, false);
      if (jump) b_.Label(name);
    }
    return b_.Build();
  }

 private:
  int32_t Var() {
    const int32_t k = static_cast<int32_t>(c_.Next(8));
    return c_.Next(2) ? 2000000 + k : 1600000 + k;
  }
  int32_t Operand() { return c_.Next(2) ? Var() : static_cast<int32_t>(c_.Next(41)) - 20; }

  void Mask(int32_t target) { b_.Variable(target, target, kMask, 0, 5); }

  void VariableOperation() {
    const int32_t target = Var();
    const int32_t assign = static_cast<int32_t>(c_.Next(9));
    static constexpr std::array<int32_t, 5> kSmallCalcs = {0, 1, 3, 4, 5};
    const int32_t calc = assign == 3 ? kSmallCalcs[c_.Next(5)] : static_cast<int32_t>(c_.Next(7));
    // Zero B now and then: the form that takes A alone.
    const int32_t b = c_.Next(4) == 0 ? 0 : Operand();
    b_.Variable(target, Operand(), b, assign, calc);
    Mask(target);
    left_ -= 2;
  }

  void Body(int32_t depth, bool inLoop) {
    const int32_t n = 1 + static_cast<int32_t>(c_.Next(3));
    for (int32_t i = 0; i < n && left_ > 0; ++i) Item(depth, inLoop);
  }

  void Item(int32_t depth, bool inLoop) {
    const uint32_t kind = depth >= 3 ? 0 : c_.Next(10);
    --left_;
    switch (kind) {
      case 4:
      case 5: {
        const int32_t n = 1 + static_cast<int32_t>(c_.Next(4));  // 4 conditions stay plain
        std::vector<BranchCondition> conditions;
        for (int32_t k = 0; k < n; ++k) {
          const bool literal = c_.Next(2) != 0;
          conditions.push_back({Var(), literal ? static_cast<int32_t>(c_.Next(100)) : Var(),
                                static_cast<int32_t>(c_.Next(8)), literal});
        }
        std::vector<int32_t> arguments = {111, n};
        for (const BranchCondition& cond : conditions) {
          arguments.push_back(cond.left);
          arguments.push_back(cond.right);
          arguments.push_back(cond.kind | (cond.literal ? 0x10 : 0));
        }
        b_.Add(arguments);
        for (int32_t k = 1; k <= n; ++k) {
          b_.Add({401, k}).Indent();
          Body(depth + 1, inLoop);
          b_.Outdent();
        }
        if (c_.Next(2)) {
          b_.Add({420, 0}).Indent();
          Body(depth + 1, inLoop);
          b_.Outdent();
        }
        b_.Add({499});
        return;
      }
      case 6:
        b_.LoopCount(static_cast<int32_t>(c_.Next(5)) - 1);
        Body(depth + 1, true);
        b_.EndLoop();
        return;
      case 7:
        if (inLoop) {
          b_.Add({static_cast<int32_t>(c_.Next(2) ? 171 : 176)});
          return;
        }
        VariableOperation();
        return;
      case 8: {
        const int32_t op = static_cast<int32_t>(c_.Next(7)) == 5 ? 0 : static_cast<int32_t>(c_.Next(5));
        const bool read = c_.Next(2) != 0;
        const int32_t variable = Var();
        const int32_t operand = read || c_.Next(2) ? variable : static_cast<int32_t>(c_.Next(50));
        b_.Database(0, static_cast<int32_t>(c_.Next(4)), 0, (op << 4) | (read ? 0x1000 : 0), operand);
        if (read) Mask(variable);
        return;
      }
      default:
        VariableOperation();
        return;
    }
  }

  ChoiceSource& c_;
  int32_t left_;
  CommandListBuilder b_;
};

constexpr std::array<int32_t, 21> kInteresting = {
    0,          1,          -1,         -2,          3,           7,          100,
    999999,     1000000,    1100005,    1600003,     2000000,     2000005,    2000099,
    3000000,    1100000000, 1000000000, 1300000000,  INT32_MIN,   INT32_MAX,  2000000000};

constexpr std::array<int32_t, 41> kCodes = {0,   111, 112, 121, 170, 171, 176, 179, 212,   213,   250,    401,   402,    420,    421,
                                            498, 499, 101, 180, 210, 172, 124, 122, 210000, 210011, 210032, 210022, 498000, 498001, 99,
                                            102, 104, 105, 151, 173, 202, 211, 260, 270,   300, 123};

}  // namespace

EventCommandList GenerateCommandList(ChoiceSource& choices, int32_t maxCommands) {
  return Generator(choices, maxCommands).Run();
}

EventCommandList GenerateWildCommandList(ChoiceSource& c, int32_t maxCommands) {
  CommandListBuilder b;
  for (int32_t i = 0; i < maxCommands && !c.Exhausted(); ++i) {
    const int32_t code = kCodes[c.Next(kCodes.size())];
    std::vector<int32_t> arguments = {code};
    const uint32_t count = c.Next(12);
    for (uint32_t k = 0; k < count; ++k) {
      arguments.push_back(c.Next(2) ? kInteresting[c.Next(kInteresting.size())]
                                    : static_cast<int32_t>(c.Next(0x10000)) | (static_cast<int32_t>(c.Next(8)) << 16));
    }
    // Ranges of variable operations stay short: each target costs a store access.
    if ((code == 121 || code / 100 == 2100) && arguments.size() > 5) arguments[5] &= 255;
    std::vector<std::string> strings;
    const uint32_t texts = c.Next(5);
    static constexpr std::array<const char*, 5> kTexts = {"a", "L1", "\\v[0]", "@3\nx", "\\self[2]"};
    for (uint32_t k = 0; k < texts; ++k) strings.push_back(kTexts[c.Next(kTexts.size())]);
    const uint32_t indent = c.Next(4);
    for (uint32_t k = 0; k < indent; ++k) b.Indent();
    b.Add(std::move(arguments), std::move(strings));
    for (uint32_t k = 0; k < indent; ++k) b.Outdent();
  }
  return b.Build();
}
