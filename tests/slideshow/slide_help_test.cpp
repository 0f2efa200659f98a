#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <vector>

#include "slideshow/frm_slide.h"
#include "slideshow/frm_time.h"
#include "tests/slideshow/slide_fixture.h"
#include "toolkit/application.h"
#include "toolkit/help_bridge.h"

namespace {

class SlideHelpTest : public SlideFixture {
protected:
    void SetUp() override {
        // Only the requests count; no viewer is started.
        SetHelpViewerProgram(QStringLiteral("/nonexistent/quimbly-help"));
        SlideFixture::SetUp();
        connection_ = QObject::connect(Application, &TApplication::helpRequested,
                                       [this](const QString&, int command, int data) {
                                           if (command == HELP_CONTEXT)
                                               contexts.push_back(data);
                                       });
    }
    void TearDown() override {
        QObject::disconnect(connection_);
        SlideFixture::TearDown();
        SetHelpViewerProgram(QString());
    }
    std::vector<int> contexts;

private:
    QMetaObject::Connection connection_;
};

}  // namespace

TEST_F(SlideHelpTest, F1AsksForTheSlideShowIntervalAndMenuTopics) {
    BuildStrip(2);
    WithSlideShow([&] {
        QTest::keyClick(frmSlide->scbSlide, Qt::Key_F1);
        EXPECT_EQ(contexts, std::vector<int>{2}) << "the scroll bar walks up to its window";

        struct Case {
            QMenu* menu;
            QAction* highlighted;
            int expected;
        };
        for (const Case c : {Case{frmSlide->mnuView, frmSlide->mnuViewT, 3}, Case{frmSlide->mnuFile, frmSlide->mnuFileR, 0}}) {
            contexts.clear();
            c.menu->popup(frmSlide->mapToGlobal(QPoint(0, 0)));
            ASSERT_EQ(QApplication::activePopupWidget(), c.menu);
            c.menu->setActiveAction(c.highlighted);
            QTest::keyClick(c.menu, Qt::Key_F1);
            EXPECT_EQ(contexts, std::vector<int>{c.expected});
            if (QApplication::activePopupWidget())
                QApplication::activePopupWidget()->close();
        }

        contexts.clear();
        WithIntervalDialog([] { frmSlide->mnuViewTClick(frmSlide); },
                           [] { QTest::keyClick(frmTime->tkbSlide, Qt::Key_F1); });
        EXPECT_EQ(contexts, std::vector<int>{3}) << "the dialog's own context, not the slide show's";
    });
}
