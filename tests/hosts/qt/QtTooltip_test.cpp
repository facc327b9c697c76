// The Qt host's tooltip window and warning sound on Qt's offscreen platform.
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QToolTip>
#include <gtest/gtest.h>

#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtTooltip.h"

namespace zozuz {
namespace {

class QtTooltipTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "QtTooltip_test";
        static char* argv[] = {name, nullptr};
        host_ = new QtHost(argc, argv);
    }
    static void TearDownTestSuite() {
        delete host_;
        host_ = nullptr;
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->geometry(); }

    QtTooltip& tooltip() { return host_->tooltipWindow(); }

    static QtHost* host_;
};

QtHost* QtTooltipTest::host_ = nullptr;

TEST_F(QtTooltipTest, ShowsTheTextJustBelowThePointerInTooltipColours) {
    tooltip().show("Cut (Ctrl+X)", Point{100, 100});
    QLabel* label = tooltip().label();
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), QStringLiteral("Cut (Ctrl+X)"));
    EXPECT_EQ(label->x(), 100);
    EXPECT_GT(label->y(), 100) << "below the pointer's shape";
    EXPECT_LE(label->y(), 130);
    EXPECT_TRUE(label->windowFlags().testFlag(Qt::ToolTip));
    EXPECT_EQ(label->palette().color(QPalette::ToolTipBase), QToolTip::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(label->backgroundRole(), QPalette::ToolTipBase);

    tooltip().show("解密", Point{10, 10});
    EXPECT_EQ(label->text(), QStringLiteral("解密")) << "a new text replaces the old";
    tooltip().hide();
    EXPECT_FALSE(label->isVisible());
    tooltip().hide();
    EXPECT_FALSE(label->isVisible());
}

TEST_F(QtTooltipTest, StaysOnTheScreenAndNoWiderThanIt) {
    const QRect area = screen();
    tooltip().show("通过电子邮件发送文档", Point{area.right() - 2, area.bottom() - 2});
    QLabel* label = tooltip().label();
    EXPECT_LE(label->geometry().right(), area.right());
    EXPECT_LE(label->geometry().bottom(), area.bottom()) << "above the pointer where there is no room below";

    std::string longText;
    for (int i = 0; i < 400; ++i) longText += "word ";
    tooltip().show(longText, Point{0, 0});
    EXPECT_LE(label->width(), area.width());
    EXPECT_GE(label->x(), area.left());
    tooltip().hide();
}

// Offscreen there is no bell to ring: the sound must still return at once, throw nothing, and
// leave the windows as they were (no box of its own, the tooltip still up).
TEST_F(QtTooltipTest, TheWarningSoundCanBePlayedWithoutADisplaysBell) {
    tooltip().show("Cut (Ctrl+X)", Point{100, 100});
    const QWidgetList before = QApplication::topLevelWidgets();
    QElapsedTimer timer;
    timer.start();
    EXPECT_NO_THROW(host_->warningSound().play());
    EXPECT_NO_THROW(host_->warningSound().play());
    EXPECT_LT(timer.elapsed(), 1000) << "the sound never keeps the caller waiting";
    QApplication::processEvents();
    EXPECT_EQ(QApplication::topLevelWidgets(), before);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(tooltip().label()->isVisible());
    tooltip().hide();
}

}  // namespace
}  // namespace zozuz
