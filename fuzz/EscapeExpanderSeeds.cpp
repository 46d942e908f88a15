// Starting inputs for the escape-expander fuzzer: string variables, numbers
// and a message with every kind of escape.

#include <string>

#include "fuzz/WriteSeed.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  const std::string text =
      "@12\nHP\\v[0] \\v1[2] \\self[3] \\cself[7] \\udb[0:1:0] \\cdb[0:0:1] \\sdb[1:0:0] \\s[1] \\c[3]\\font[1]\\f[20]"
      "\\m[30]\\E\\N\\-[2]\\r[a,b]\\>\\<\\sp[100]\\.\\!\\^\\space[4]<L><C><R>\\i[5]\\img[x]\\mx[1]\\my[2]\\\\\r\n";
  WriteSeed(argv, "message", std::string("\x05\\s[1]") + text);
  return 0;
}
