// The printing commands of the ファイル menu in a running program: the
// document choice, the print preview (offscreen), the print dialog and the
// PDF export through the output-command frame.

#include "app/PrintCommands.h"
#include "app/MainFrame.h"
#include "app/TabryApp.h"

#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>

namespace tabry::app {
namespace {

using test::Prompts;
using test::Q;
using test::Shown;

struct PrintFixture : testing::Test {
    test::Sandbox box;
    std::unique_ptr<CTabryApp> app;

    void SetUp() override
    {
        test::WriteAll(box / "t.stg", test::StgBytes(8, 4, {"a", "b", "c"}, "cup"));
        box.options.fileToOpen = Q(box / "t.stg");
        app = box.Start();
        ASSERT_NE(app, nullptr);
    }
    void TearDown() override
    {
        EXPECT_FALSE(test::DropPendingModalActions()) << "a dialog the test waited for never opened";
        if (app) {
            app->MainFrame()->close();
            app->ExitInstance();
        }
    }
    QAction* Action(const char* name) { return app->MainFrame()->Action(name); }

    // Answers the next document choice with `kind` (and `round`), or cancels.
    static void Choose(std::optional<paper::PaperKind> kind, int round = 0)
    {
        test::WhenModalOpens<CPaperChoiceDialog>([kind, round](CPaperChoiceDialog* dialog) {
            if (!kind) {
                dialog->reject();
                return;
            }
            dialog->KindButton(*kind)->setChecked(true);
            EXPECT_EQ(dialog->RoundBox()->isEnabled(), *kind == paper::PaperKind::PairingSheet);
            if (round > 0)
                dialog->RoundBox()->setValue(round);
            dialog->accept();
        });
    }
};

TEST_F(PrintFixture, ThePreviewShowsTheChosenDocumentAndCloses)
{
    int pages = -1;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    Choose(paper::PaperKind::ResultTable);
    test::WhenModalOpens<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
        auto* view = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(view, nullptr);
        pages = view->pageCount();
        orientation = preview->printer()->pageLayout().orientation();
        preview->reject();
    });
    Action("actionFilePrintPreview")->trigger();
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(orientation, QPageLayout::Landscape);

    // The choice is proposed again next time; cancelling it shows nothing.
    test::WhenModalOpens<CPaperChoiceDialog>([](CPaperChoiceDialog* dialog) {
        EXPECT_TRUE(dialog->KindButton(paper::PaperKind::ResultTable)->isChecked());
        dialog->reject();
    });
    Action("actionFilePrintPreview")->trigger();
}

// Print offers the document's pages and prints nothing when cancelled; the
// PDF goes through the save dialog under the tournament's name.
TEST_F(PrintFixture, PrintOffersTheDocumentsPagesAndPdfExportWritesUnderTheProposedName)
{
#if !defined(Q_OS_WIN) // there the print dialog is the system's own window, which no test can answer
    int maxPage = -1;
    Choose(paper::PaperKind::PairingSheet, 1);
    test::WhenModalOpens<QPrintDialog>([&](QPrintDialog* dialog) {
        maxPage = dialog->maxPage();
        dialog->reject();
    });
    Action("actionFilePrint")->trigger();
    EXPECT_EQ(maxPage, 1);
    EXPECT_TRUE(Prompts().Events().empty());
#endif

    Choose(paper::PaperKind::PairingSheet, 1);
    Prompts().QueuePath(Q(box / "round1.pdf"));
    Action("actionFileExportPdf")->trigger();
    ASSERT_EQ(Prompts().Events().size(), 1u);
    EXPECT_EQ(Prompts().Events()[0].kind, "save");
    EXPECT_EQ(Prompts().Events()[0].text, Shown(box.dir.Path() / u8"t_1回戦_組み合わせ.pdf"));
    const std::string pdf = test::ReadAll(box / "round1.pdf");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    // Set in IPA Gothic, embedded: the same on a machine without the font
    // (Windows draws this through QPdfWriter, Linux through cairo).
    EXPECT_NE(pdf.find("IPAGothic"), std::string::npos);
    EXPECT_NE(pdf.find("/FontFile2"), std::string::npos);
    Choose(std::nullopt); // cancelled: no file dialog
    Action("actionFileExportPdf")->trigger();
    EXPECT_EQ(Prompts().Events().size(), 1u);
}

} // namespace
} // namespace tabry::app
