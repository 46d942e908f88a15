#include "runtime/platform/input/InputDevices.h"

#include "runtime/host/input/InputDevices.h"
#include "runtime/host/input/KeyCodes.h"
#include "runtime/host/window/Window.h"
#include "runtime/platform/system/LayerLifeCycle.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/system/PlatformState.h"

namespace {

constexpr int32_t kAxisMin = -1000;
constexpr int32_t kAxisMax = 1000;
constexpr int32_t kAxisDeadZone = 2500;  // a quarter of the half-axis

void StartedSystem(int version) {
  LogWrite("成功\n");
  LogWrite("引き続き初期化処理... ");
  LogWrite("初期化成功\n");
  gPlatform.input.system = kInputSystemStarted;
  gPlatform.input.version8 = version == 8 ? 1 : 0;
}

// The input system in version 7, else 8. False when neither starts.
bool StartInputSystem() {
  LogWrite("DirectInput関係初期化処理\n");
  LogWrite("DirectInput7 の取得中... ");
  const int32_t result = HostInputSystemStart(7);
  if (result == 0) {
    StartedSystem(7);
    return true;
  }
  LogWrite("取得に失敗。\n");
  LogPrintf("エラーコード 0x%x\n", static_cast<unsigned>(result));

  LogWrite("DirectInput8 の取得を試みます...");
  if (HostInputSystemStart(8) == 0) {
    StartedSystem(8);
    return true;
  }
  LogWrite("取得に失敗。");
  LogWrite("DirectInput を使用しません。\n");
  gPlatform.input.withoutSystem = 1;
  return false;
}

void ReleaseDevice(HostInputDevice** device) {
  HostReleaseDevice(*device);
  *device = nullptr;
}

[[noreturn]] void DeviceFailed(HostInputDevice** device, const char* text) {
  ReleaseDevice(device);
  FatalErrorExit(text);
}

void ReleaseKeyboard() {
  InputDeviceState& in = gPlatform.input;
  if (in.keyboard) {
    HostUnacquire(in.keyboard);
    HostSetNotification(in.keyboard, nullptr);
    ReleaseDevice(&in.keyboard);
  }
  if (in.keyboardEvent) HostDestroyEvent(in.keyboardEvent);
  in.keyboardEvent = nullptr;
}

// Mouse and keyboard, once the input system runs. A device is made with
// the data format of its kind; the keyboard is read whole, so it has no
// buffer to size. 0, or 1 when the keyboard's notification fails.
int OpenMouseAndKeyboard() {
  InputDeviceState& in = gPlatform.input;
  HostWindowRaise(false);
  PumpMessages();  // the window settles in front before the devices bind to it
  InitJoypads();

  LogWrite("マウスデバイスの初期化... ");
  in.mouse = HostCreateMouseDevice();
  if (!in.mouse) FatalErrorExit("マウスデバイスの取得に失敗しました");
  if (!HostSetCooperation(in.mouse, false)) DeviceFailed(&in.mouse, "マウスデバイスの協調レベルの設定に失敗しました");
  LogWrite("初期化成功\n");

  LogWrite("キーボードデバイスの初期化... ");
  in.keyboard = HostCreateKeyboardDevice();
  if (!in.keyboard) FatalErrorExit("キーボードデバイスの取得に失敗しました");
  if (!HostSetCooperation(in.keyboard, false)) {
    DeviceFailed(&in.keyboard, "キーボードデバイスの協調レベルの設定に失敗しました");
  }
  // Null would tell the device to signal nothing: no event is a failed setup.
  in.keyboardEvent = HostCreateEvent(false);
  if (!in.keyboardEvent || !HostSetNotification(in.keyboard, in.keyboardEvent)) {
    LogWrite("キーボードイベントのセットアップが失敗しました\n");
    return 1;
  }
  if (!HostAcquire(in.keyboard) && !HostAcquire(in.keyboard)) {
    ReleaseKeyboard();
    ReleaseDevice(&in.mouse);
    FatalErrorExit("キーボードデバイスの取得に失敗しました");
  }
  LogWrite("初期化成功\n");
  LogWrite("DirectInput 関連の初期化は正常に終了しました\n");
  return 0;
}

// Without the input system: the window system's joysticks, found by id
// until the first that is missing. All eight are read, missing ones as zero.
void StartWithoutSystem() {
  InputDeviceState& in = gPlatform.input;
  int found = 0;
  for (; found < kMaxJoypads; ++found) {
    HostJoystickCaps caps;
    if (!HostJoystickGetCaps(found, &caps)) break;
    in.joypads[found].hasZAndR = caps.hasZ && caps.hasR ? 1 : 0;
  }
  LogPrintf("パッドの数は %d 個です\n", found);
  in.system = kInputWithoutSystem;
  LogWrite("入力関連の初期化をしました\n");
  in.joypadCount = kMaxJoypads;
}

void FillPadKeyMap() {
  InputDeviceState& in = gPlatform.input;
  for (auto& pad : in.padKeyMap) {
    for (auto& keys : pad) {
      keys[0] = -1;
      keys[1] = -1;
    }
  }
  struct Default {
    int bit;
    int32_t first;
    int32_t second;
  };
  static constexpr Default kDefaults[] = {
      {0, kKeyNumpad2, kKeyDown}, {1, kKeyNumpad4, kKeyLeft}, {2, kKeyNumpad6, kKeyRight},
      {3, kKeyNumpad8, kKeyUp},   {4, kKeyZ, -1},             {5, kKeyX, -1},
      {6, kKeyC, -1},             {7, kKeyA, -1},             {8, kKeyS, -1},
      {9, kKeyD, -1},             {10, kKeyQ, -1},            {11, kKeyW, -1},
      {12, kKeyEscape, -1},       {13, kKeySpace, -1},
  };
  for (const Default& d : kDefaults) {
    in.padKeyMap[0][d.bit][0] = d.first;
    in.padKeyMap[0][d.bit][1] = d.second;
  }
}

// One attached joypad, made ready and kept; a failing step drops it.
void AddJoypadDevice(int index) {
  InputDeviceState& in = gPlatform.input;
  LogWrite("入力装置を見つけました\n");
  HostInputDevice* device = HostCreateJoypadDevice(index);
  if (!device) {
    LogWrite("入力装置の取得に失敗しました\n");
    return;
  }
  char instanceName[260];
  char productName[260];
  HostJoypadNames(device, instanceName, productName, sizeof instanceName);
  LogPrintf("デバイスの登録名:%s", instanceName);
  LogPrintf("デバイスの製品登録名:%s", productName);

  const char* failure = nullptr;
  if (!HostSetCooperation(device, true)) {
    failure = "ジョイパッドデバイスの協調レベルの設定に失敗しました\n";
  } else if (!HostSetAxisRange(device, HostAxis::X, kAxisMin, kAxisMax)) {
    failure = "ジョイパッドデバイスのＸ軸関係の設定に失敗しました\n";
  } else if (!HostSetAxisRange(device, HostAxis::Y, kAxisMin, kAxisMax)) {
    failure = "ジョイパッドデバイスのＹ軸関係の設定に失敗しました\n";
  }
  if (!failure) {
    HostSetAxisRange(device, HostAxis::Z, kAxisMin, kAxisMax);
    HostSetAxisRange(device, HostAxis::RotationZ, kAxisMin, kAxisMax);
    if (!HostSetAxisDeadZone(device, HostAxis::X, kAxisDeadZone)) {
      failure = "ジョイパッドデバイスのＸ軸の無効ゾーンの設定に失敗しました\n";
    } else if (!HostSetAxisDeadZone(device, HostAxis::Y, kAxisDeadZone)) {
      failure = "ジョイパッドデバイスのＹ軸の無効ゾーンの設定に失敗しました\n";
    }
  }
  HostEvent* event = nullptr;
  if (!failure) {
    HostSetAxisDeadZone(device, HostAxis::Z, kAxisDeadZone);
    HostSetAxisDeadZone(device, HostAxis::RotationZ, kAxisDeadZone);
    event = HostCreateEvent(false);
    if (!event || !HostSetNotification(device, event)) failure = "ジョイパッドイベントのセットアップが失敗しました\n";
  }
  if (failure) {
    LogWrite(failure);
    HostReleaseDevice(device);
    if (event) HostDestroyEvent(event);
    return;
  }
  HostAcquire(device);
  JoypadRecord& pad = in.joypads[in.joypadCount++];
  pad = JoypadRecord();
  pad.device = device;
  pad.notification = event;
  LogWrite("ジョイパッドの追加は正常に終了しました\n");
}

}  // namespace

int InputInit() {
  InputDeviceState& in = gPlatform.input;
  if (in.system != kInputNotStarted) return 0;
  const int withoutSystem = in.withoutSystem;
  in = InputDeviceState();
  in.withoutSystem = withoutSystem;
  if (!in.withoutSystem && StartInputSystem()) {
    if (OpenMouseAndKeyboard() != 0) return 1;
  } else {
    StartWithoutSystem();
  }
  FillPadKeyMap();
  return 0;
}

int InputEnd() {
  InputDeviceState& in = gPlatform.input;
  if (in.system == kInputWithoutSystem) LogWrite("入力関連の終了処理... 完了\n");
  if (in.system == kInputSystemStarted) {
    LogWrite("DirectInput 関連の終了処理... 完了\n");
    ReleaseJoypads();
    ReleaseKeyboard();
    ReleaseDevice(&in.mouse);
    HostInputSystemStop();
  }
  in.system = kInputNotStarted;
  return 0;
}

int InitJoypads() {
  ReleaseJoypads();
  LogWrite("ジョイパッドの初期化... \n");
  const int attached = HostAttachedJoypadCount();
  for (int index = 0; index < attached && gPlatform.input.joypadCount < kMaxJoypads; ++index) {
    AddJoypadDevice(index);
  }
  LogWrite("ジョイパッドの初期化は正常に終了しました\n");
  return 0;
}

int ReleaseJoypads() {
  InputDeviceState& in = gPlatform.input;
  for (int i = 0; i < in.joypadCount; ++i) {
    JoypadRecord& pad = in.joypads[i];
    if (pad.device) {
      HostUnacquire(pad.device);
      HostSetNotification(pad.device, nullptr);
      HostStopEffects(pad.device);
      HostReleaseDevice(pad.device);
    }
    if (pad.notification) HostDestroyEvent(pad.notification);
    pad = JoypadRecord();
  }
  in.joypadCount = 0;
  return 0;
}

int ReacquireInputDevices() {
  InputDeviceState& in = gPlatform.input;
  if (in.system != kInputSystemStarted) return 0;
  const bool active = gPlatform.window.active != 0;
  for (int i = 0; i < in.joypadCount; ++i) {
    HostInputDevice* device = in.joypads[i].device;
    HostUnacquire(device);
    HostSetCooperation(device, active);
    HostAcquire(device);
  }
  if (in.keyboard) {
    HostUnacquire(in.keyboard);
    HostAcquire(in.keyboard);
  }
  return 0;
}
