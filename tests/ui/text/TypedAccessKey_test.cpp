#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/text/TypedAccessKey.h"

namespace zozuz {
namespace {

using Kind = TypedKeyResult::Kind;
constexpr std::size_t kNone = std::string_view::npos;

// The main window's menus with their access keys in place and their entries' enabled states.
const std::vector<TypedKeyEntry> kFileMenu = {
    {"新建(&N)", true},        {"打开已加密文件(&Z)", true}, {"打开未加密文件(&O)...", true},
    {"保存(&S)", true},        {"另存为(&A)...", true},      {"-", false},
    {"页面设置(&T)...", false}, {"打印预览(&V)", false},      {"打印(&P)", true},
    {"-", false},              {"发送(&D)", false},          {"-", false},
    {"退出(&X)", true}};
const std::vector<TypedKeyEntry> kEditMenu = {
    {"撤消(&U)", false}, {"-", false},         {"剪切(&T)", true},       {"复制(&C)", true},
    {"粘贴(&P)", false}, {"删除(&L)", false},  {"-", false},            {"全选(A)(&A)", false},
    {"时间/日期(&D)", false}, {"-", false},    {"自动换行(&W)", true},  {"设置字体(&F)...", false}};
const std::vector<TypedKeyEntry> kSearchMenu = {
    {"查找(&F)...", false}, {"查找下一个(&N)", false}, {"替换(&E)", false}, {"替换所有(&Z)", false}};

void expectResult(const TypedKeyResult& result, Kind kind, std::size_t entry) {
    EXPECT_EQ(result.kind, kind);
    EXPECT_EQ(result.entry, entry);
}

TEST(TypedAccessKeyTest, KeysInTheProgramsMenus) {
    // Z in the File menu runs Open encrypted file, in either case; T (a disabled entry) closes it.
    expectResult(resolveTypedAccessKey(kFileMenu, 0, "Z"), Kind::Choose, 1);
    expectResult(resolveTypedAccessKey(kFileMenu, kNone, "z"), Kind::Choose, 1);
    expectResult(resolveTypedAccessKey(kFileMenu, 0, "T"), Kind::Close, kNone);
    expectResult(resolveTypedAccessKey(kFileMenu, 0, "X"), Kind::Choose, 12);
    // A key nobody has beeps.
    expectResult(resolveTypedAccessKey(kFileMenu, 0, "Q"), Kind::Beep, kNone);
    expectResult(resolveTypedAccessKey(kFileMenu, 0, "中"), Kind::Beep, kNone);
    // Separator lines match nothing, not even "-".
    expectResult(resolveTypedAccessKey(kFileMenu, 0, "-"), Kind::Beep, kNone);
    // U in the Edit menu closes it; W toggles word wrap.
    expectResult(resolveTypedAccessKey(kEditMenu, 0, "U"), Kind::Close, kNone);
    expectResult(resolveTypedAccessKey(kEditMenu, 0, "w"), Kind::Choose, 10);
    // Every key of the Search menu closes it.
    for (const char* key : {"F", "N", "E", "Z"})
        expectResult(resolveTypedAccessKey(kSearchMenu, 0, key), Kind::Close, kNone);
    expectResult(resolveTypedAccessKey(kSearchMenu, 0, "K"), Kind::Beep, kNone);
}

TEST(TypedAccessKeyTest, SeveralEnabledMatchesMoveTheHighlight) {
    const std::vector<TypedKeyEntry> menu = {
        {"&Alpha", true}, {"&Bravo", true}, {"&apple", true}, {"&Axe", true}, {"&Arc", false}};
    // To the last match after the highlighted entry, or to the first when none follows.
    expectResult(resolveTypedAccessKey(menu, kNone, "a"), Kind::Highlight, 0);
    expectResult(resolveTypedAccessKey(menu, 0, "A"), Kind::Highlight, 3);
    expectResult(resolveTypedAccessKey(menu, 1, "A"), Kind::Highlight, 3);
    expectResult(resolveTypedAccessKey(menu, 3, "A"), Kind::Highlight, 0);
    // A disabled match among enabled ones is passed over; one enabled match is chosen.
    const std::vector<TypedKeyEntry> mixed = {{"&Arc", false}, {"&Axe", true}, {"Apple", true}};
    expectResult(resolveTypedAccessKey(mixed, kNone, "A"), Kind::Choose, 1);
}

TEST(TypedAccessKeyTest, EntriesWithoutKeyMatchByTheirFirstCharacter) {
    const std::vector<TypedKeyEntry> menu = {
        {"Open", true}, {"&Xopen", true}, {"Other", true}, {"Close", true}, {"Cut", false}, {"&&Amp", true},
        {"Quit", true, false}};
    // "&Xopen" has a key of its own and is not matched by its first character.
    expectResult(resolveTypedAccessKey(menu, kNone, "o"), Kind::Highlight, 0);
    expectResult(resolveTypedAccessKey(menu, 0, "O"), Kind::Highlight, 2);
    // The first disabled match closes the menu at once, even after an enabled one.
    expectResult(resolveTypedAccessKey(menu, 0, "C"), Kind::Close, kNone);
    // A leading "&&" shows an ampersand.
    expectResult(resolveTypedAccessKey(menu, 0, "&"), Kind::Choose, 5);
    // Hidden entries are not matched.
    expectResult(resolveTypedAccessKey(menu, 0, "Q"), Kind::Beep, kNone);
    // A match by key wins over first characters.
    expectResult(resolveTypedAccessKey(menu, 0, "x"), Kind::Choose, 1);
    // Without a character there is nothing to match.
    expectResult(resolveTypedAccessKey(menu, 0, ""), Kind::Beep, kNone);
}

}  // namespace
}  // namespace zozuz
