// The command-key strings of the CAD hand-over: the default strings of the three targets, counts,
// pauses, held modifiers, key names, characters and the clipboard group.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/sjis.h"
#include "output/cad/key_string.h"

namespace kubrix::cad {
namespace {

std::string keys(std::string_view s, uint64_t waitMs = 0) { return describeSteps(parseKeyString(s, waitMs).steps); }

TEST(KeyString, DefaultStringsOfTheThreeTargets) {
  EXPECT_EQ(keys("@IB{TAB}{ENTER}^V{ENTER}", 100),
            "wait 100, +Alt_L, +i, -i, -Alt_L, wait 100, +b, -b, wait 100, +Tab, -Tab, wait 100, +Return, -Return, "
            "wait 100, +Control_L, +v, -v, -Control_L, wait 100, +Return, -Return");
  EXPECT_EQ(keys("@FE{LEFT}{DOWN}{ENTER}{TAB}A~{TAB}^V{ENTER}"),
            "+Alt_L, +f, -f, -Alt_L, +e, -e, +Left, -Left, +Down, -Down, +Return, -Return, +Tab, -Tab, +a, -a, "
            "+Shift_L, +Tab, -Tab, -Shift_L, +Control_L, +v, -v, -Control_L, +Return, -Return");
  EXPECT_EQ(keys("@FI{TAB}G~{TAB}^V{ENTER}"),
            "+Alt_L, +f, -f, -Alt_L, +i, -i, +Tab, -Tab, +g, -g, +Shift_L, +Tab, -Tab, -Shift_L, "
            "+Control_L, +v, -v, -Control_L, +Return, -Return");
}

TEST(KeyString, CountsAndPauses) {
  EXPECT_EQ(keys("{TAB 3}", 5), "wait 5, +Tab, -Tab, wait 5, +Tab, -Tab, wait 5, +Tab, -Tab");
  EXPECT_EQ(keys("^{TAB 2}"), "+Control_L, +Tab, -Tab, -Control_L, +Control_L, +Tab, -Tab, -Control_L");
  EXPECT_EQ(keys("{tab -2}"), "+Tab, -Tab, +Tab, -Tab");  // the count's size
  EXPECT_EQ(keys("{TAB 0}a"), "+a, -a");
  EXPECT_EQ(keys("{TAB x}a"), "+a, -a");  // not a count: no key of that name
  EXPECT_EQ(keys("{A 2}"), "+a, -a, +a, -a");
  // A positive number is a pause of n x 100 ms, without the key wait; 0 is the 0 key.
  EXPECT_EQ(keys("{30}", 100), "pause 3000");
  EXPECT_EQ(keys("{5 2}{1}", 100), "pause 500, pause 500, pause 100");
  EXPECT_EQ(keys("{0}", 100), "wait 100, +0, -0");
  EXPECT_EQ(keys("{00}{-3}"), "");  // neither a pause nor a key
  // Counts are capped.
  EXPECT_EQ(parseKeyString("{TAB 99999999999}", 0).steps.size(), size_t(2 * kMaxTokenCount));
  EXPECT_EQ(keys("{99999999999999999999}"), "pause 100000000000000");
}

TEST(KeyString, ModifiersAreHeldForTheNextKeyOnly) {
  EXPECT_EQ(keys("^a"), "+Control_L, +a, -a, -Control_L");
  EXPECT_EQ(keys("@a"), "+Alt_L, +a, -a, -Alt_L");
  EXPECT_EQ(keys("~ab"), "+Shift_L, +a, -a, -Shift_L, +b, -b");
  // Held in the order written, released Ctrl, Alt, Shift.
  EXPECT_EQ(keys("~@^{F4}"), "+Shift_L, +Alt_L, +Control_L, +F4, -F4, -Control_L, -Alt_L, -Shift_L");
  EXPECT_EQ(keys("^^a"), "+Control_L, +a, -a, -Control_L");
  // A fourth modifier is held like the first three; trailing modifiers are pressed and released.
  EXPECT_EQ(keys("^@~^"), "+Control_L, +Alt_L, +Shift_L, -Control_L, -Alt_L, -Shift_L");
  EXPECT_EQ(keys("a^", 7), "wait 7, +a, -a, wait 7, +Control_L, -Control_L");
  // In a group the modifier characters are plain characters.
  EXPECT_EQ(keys("{^}{@}{~}"), "+^, -^, +@, -@, +~, -~");
  // A pause after a modifier is a pause.
  EXPECT_EQ(keys("^{10}"), "pause 1000");
}

TEST(KeyString, KeyNamesAndCharacters) {
  EXPECT_EQ(keys("{F1}{f12}{F13}{F0}{INSERT}{DELETE}{HOME}{END}{PGUP}{PGDN}"),
            "+F1, -F1, +F12, -F12, +Insert, -Insert, +Delete, -Delete, +Home, -Home, +End, -End, +Prior, -Prior, "
            "+Next, -Next");
  EXPECT_EQ(keys("{BKSP}{PrtSc}{SHIFT}{SPACE}{spc}{LEFT}{UP}{RIGHT}{DOWN}{ESCAPE}{Esc}{ESCAPEX}{ENTERED}"),
            "+BackSpace, -BackSpace, +Print, -Print, +Shift_L, -Shift_L, +space, -space, +space, -space, "
            "+Left, -Left, +Up, -Up, +Right, -Right, +Down, -Down, +Escape, -Escape, +Escape, -Escape");
  EXPECT_EQ(keys("*+-./, "), "+KP_Multiply, -KP_Multiply, +KP_Add, -KP_Add, +KP_Subtract, -KP_Subtract, "
                            "+KP_Decimal, -KP_Decimal, +KP_Divide, -KP_Divide, +comma, -comma, +space, -space");
  EXPECT_EQ(keys("Aa9:"), "+a, -a, +a, -a, +9, -9, +:, -:");
  // Double-byte characters cannot be sent; an unknown group sends nothing.
  EXPECT_EQ(keys(utf8ToSjis("あa{あ}{WHAT}b")), "+a, -a, +b, -b");
  // A group that is never closed ends the string.
  EXPECT_EQ(keys("a{TAB"), "+a, -a");
  EXPECT_EQ(keys(""), "");
}

TEST(KeyString, ClipboardGroup) {
  KeyScript s = parseKeyString("{ESC}{X_import C:\\a.dxf}{ENTER}", 0);
  EXPECT_TRUE(s.valid);
  EXPECT_TRUE(s.hasClipboardText);
  EXPECT_EQ(s.clipboardText, "_import C:\\a.dxf");
  EXPECT_EQ(describeSteps(s.steps), "+Escape, -Escape, +Control_L, +v, -v, -Control_L, +Return, -Return");
  // Only the first group; the second is an unknown group.
  s = parseKeyString("{Xa}{Xb}", 0);
  EXPECT_EQ(s.clipboardText, "a");
  EXPECT_EQ(describeSteps(s.steps), "+Control_L, +v, -v, -Control_L");
  s = parseKeyString("{X}", 0);
  EXPECT_TRUE(s.hasClipboardText);
  EXPECT_EQ(s.clipboardText, "");
  // "{X" without a "}" after it sends nothing at all.
  for (const char* bad : {"@IB{TAB}{Xcopy", "{X", "{TAB}{X{ENTER"}) {
    s = parseKeyString(bad, 100);
    EXPECT_FALSE(s.valid) << bad;
    EXPECT_FALSE(s.hasClipboardText) << bad;
    EXPECT_TRUE(s.steps.empty()) << bad;
  }
  // "{x" is no clipboard group.
  EXPECT_TRUE(parseKeyString("{xy", 0).valid);
}

TEST(KeyString, WaitTime) {
  EXPECT_EQ(waitMilliseconds(0.1), 100u);
  EXPECT_EQ(waitMilliseconds(0.0004), 0u);
  EXPECT_EQ(waitMilliseconds(0.0005), 1u);
  EXPECT_EQ(waitMilliseconds(60), 60000u);
  EXPECT_EQ(waitMilliseconds(-1), 0u);
  EXPECT_EQ(waitMilliseconds(std::nan("")), 0u);
}

}  // namespace
}  // namespace kubrix::cad
