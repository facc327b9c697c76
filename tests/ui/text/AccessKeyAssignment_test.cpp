#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/text/AccessKeyAssignment.h"
#include "ui/text/MenuCaption.h"

namespace zozuz {
namespace {

std::vector<AccessKeyEntry> entriesOf(const std::vector<std::string>& captions) {
    std::vector<AccessKeyEntry> entries;
    for (const std::string& caption : captions) entries.push_back({caption, true});
    return entries;
}

std::vector<std::string> captionsOf(const std::vector<AccessKeyEntry>& entries) {
    std::vector<std::string> captions;
    for (const AccessKeyEntry& entry : entries) captions.push_back(entry.caption);
    return captions;
}

std::vector<std::string> assigned(const std::vector<std::string>& captions,
                                  MenuCharacterSet characterSet = MenuCharacterSet::DoubleByte) {
    std::vector<AccessKeyEntry> entries = entriesOf(captions);
    assignAccessKeys(entries, characterSet);
    return captionsOf(entries);
}

// The main window's menus as stored, separators included.
const std::vector<std::vector<std::string>> kProgramMenus = {
    {"文件(&F)", "编辑(&E)", "搜索(&S)", "帮助(&H)"},
    {"新建(&N)", "打开已加密文件", "打开未加密文件(&O)...", "保存(&S)", "另存为(&A)...", "-", "页面设置(&T)...",
     "打印预览(&V)", "打印(&P)", "-", "发送(&D)", "-", "退出(&X)"},
    {"撤消(&U)", "-", "剪切(&T)", "复制(&C)", "粘贴(&P)", "删除(&L)", "-", "全选(A)", "时间/日期(&D)", "-",
     "自动换行(&W)", "设置字体(&F)..."},
    {"查找(&F)...", "查找下一个(&N)", "替换(&E)", "替换所有"},
    {"帮助主题(&H)", "访问主页(&I)", "联系作者(&E)", "关于zozuz(&A)"},
};

TEST(AccessKeyAssignmentTest, TheProgramsMenusGainExactlyThreeKeys) {
    std::vector<std::vector<std::string>> expected = kProgramMenus;
    expected[1][1] = "打开已加密文件(&Z)";
    expected[2][7] = "全选(A)(&A)";
    expected[3][3] = "替换所有(&Z)";
    for (std::size_t menu = 0; menu < kProgramMenus.size(); ++menu) {
        std::vector<AccessKeyEntry> entries = entriesOf(kProgramMenus[menu]);
        EXPECT_EQ(assignAccessKeys(entries), menu == 1 || menu == 2 || menu == 3) << "menu " << menu;
        EXPECT_EQ(captionsOf(entries), expected[menu]) << "menu " << menu;
        // Opening the submenu again finds nothing to change.
        EXPECT_FALSE(assignAccessKeys(entries)) << "menu " << menu;
        EXPECT_EQ(captionsOf(entries), expected[menu]) << "menu " << menu;
    }
    // The second group of "全选(A)(&A)" is the marked one.
    EXPECT_EQ(accessKeyMarkOf("全选(A)(&A)"), std::string("全选(A)(").size());
}

TEST(AccessKeyAssignmentTest, OnASingleByteSystemOnlyCaptionsWithAFreeLetterGainAKey) {
    EXPECT_EQ(assigned(kProgramMenus[2], MenuCharacterSet::SingleByte)[7], "全选(&A)");
    EXPECT_EQ(assigned(kProgramMenus[1], MenuCharacterSet::SingleByte), kProgramMenus[1]);
    EXPECT_EQ(assigned(kProgramMenus[3], MenuCharacterSet::SingleByte), kProgramMenus[3]);
    // A duplicate "(&X)" keeps its parentheses there; only the mark goes.
    EXPECT_EQ(assigned({"文件(&F)", "格式(&F)"}, MenuCharacterSet::SingleByte),
              (std::vector<std::string>{"文件(&F)", "格式(F)"}));
}

TEST(AccessKeyAssignmentTest, ALaterDuplicateGivesUpItsKeyAndTakesAnother) {
    // The "(&X)" group goes whole; without a single-byte character of its own the entry gets the
    // last free key.
    EXPECT_EQ(assigned({"文件(&F)", "格式(&F)"}), (std::vector<std::string>{"文件(&F)", "格式(&Z)"}));
    // Keys compare without case; a caption without double-byte characters is marked in place.
    EXPECT_EQ(assigned({"&New", "&next"}), (std::vector<std::string>{"&New", "n&ext"}));
    EXPECT_EQ(assigned({"&Open", "&Options", "O&pen2"}), (std::vector<std::string>{"&Open", "Op&tions", "O&pen2"}));
    // An earlier single "&" goes with the lost mark, so it neither takes over nor doubles up.
    EXPECT_EQ(assigned({"&B", "&A&B"}), (std::vector<std::string>{"&B", "&AB"}));
    EXPECT_EQ(assigned({"&B", "&C&B"}, MenuCharacterSet::SingleByte), (std::vector<std::string>{"&B", "&CB"}));
    // A key outside digits and letters is kept, even twice.
    EXPECT_EQ(assigned({"打开(&中)", "关闭(&中)"}), (std::vector<std::string>{"打开(&中)", "关闭(&中)"}));
}

TEST(AccessKeyAssignmentTest, MoreWaitingEntriesThanKeysLeaveTheLastWithout) {
    std::vector<std::string> captions(37, "项");
    const std::vector<std::string> result = assigned(captions);
    EXPECT_EQ(result[0], "项(&Z)");
    EXPECT_EQ(result[25], "项(&A)");
    EXPECT_EQ(result[35], "项(&1)");
    EXPECT_EQ(result[36], "项");
}

TEST(AccessKeyAssignmentTest, EntriesCompeteForTheFewCharactersTheyHave) {
    // The first takes A; the second has nothing else of its own and, on a single-byte system,
    // stays without key; the third takes B.
    EXPECT_EQ(assigned({"AB", "A", "BA"}, MenuCharacterSet::SingleByte),
              (std::vector<std::string>{"&AB", "A", "&BA"}));
    // On a double-byte system every entry left over still gets a key, appended as a group.
    EXPECT_EQ(assigned({"AB", "A", "BA"}), (std::vector<std::string>{"&AB", "A(&Z)", "&BA"}));
    // Mixed with double-byte characters the unserved one still gets a key at the end.
    EXPECT_EQ(assigned({"甲AB", "乙A", "丙BA"}), (std::vector<std::string>{"甲AB(&A)", "乙A(&Z)", "丙BA(&B)"}));
}

TEST(AccessKeyAssignmentTest, LiteralAmpersandsAndFinalEllipsis) {
    // "&&" is a literal ampersand: it marks nothing and is never a key.
    EXPECT_EQ(assigned({"&Apple", "A&&B"}), (std::vector<std::string>{"&Apple", "A&&&B"}));
    EXPECT_EQ(accessKeyOf("A&&&B"), "B");
    EXPECT_EQ(assigned({"&&"}), (std::vector<std::string>{"&&(&Z)"}));
    EXPECT_EQ(assigned({"&&"}, MenuCharacterSet::SingleByte), (std::vector<std::string>{"&&"}));
    EXPECT_EQ(assigned({"甲&&"}), (std::vector<std::string>{"甲&&(&Z)"}));
    // Groups go before a final "...".
    EXPECT_EQ(assigned({"查找(&F)...", "查找全部...", "全部A..."}),
              (std::vector<std::string>{"查找(&F)...", "查找全部(&Z)...", "全部A(&A)..."}));
    EXPECT_EQ(assigned({"Save &As...", "Save..."}), (std::vector<std::string>{"Save &As...", "&Save..."}));
}

TEST(AccessKeyAssignmentTest, HiddenEntriesSeparatorsAndEmptyCaptionsTakeNoPart) {
    std::vector<AccessKeyEntry> entries = {{"&Foo", false}, {"-", true}, {"", true}, {"&File", true}, {"甲", false}};
    EXPECT_FALSE(assignAccessKeys(entries));
    EXPECT_EQ(captionsOf(entries), (std::vector<std::string>{"&Foo", "-", "", "&File", "甲"}));
}

}  // namespace
}  // namespace zozuz
