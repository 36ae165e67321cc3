// The preview window and its table: widths, texts, marks, size and closing.
#include "app/preview_model.h"
#include "app/qt_text.h"
#include "app/tpreview.h"
#include "engine/rename_retry.h"
#include "engine/rename_run.h"

#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace quorvane::test {
namespace {

using app::PreviewModel;
using app::TPreview;

/// An unchanged row, a changed one, a conflicting one and one with empty texts.
engine::UndoLog sampleRows()
{
    engine::UndoLog rows;
    rows.append(U"/music/", U"Same.mp3", U"Same.mp3");
    rows.append(U"/music/", U"a b.mp3", U"A B.mp3");
    rows.append(U"/music/", U"x.mp3", U"X.mp3");
    rows.append(U"", U"", U"caf\xDD69"); // byte 0xE9 of a Latin-1 name, escaped
    return rows;
}

std::vector<engine::PreviewMark> sampleMarks()
{
    return { { false, false }, { true, false }, { true, true }, { true, false } };
}

QTableView* gridOf(const TPreview& dialog)
{
    return dialog.findChild<QTableView*>(QStringLiteral("StringGrid1"));
}

std::vector<int> columnWidths(const QTableView& grid)
{
    return { grid.columnWidth(0), grid.columnWidth(1), grid.columnWidth(2) };
}

TEST(TPreview, ColumnsShareTheWidthLessThirtyRoundedDown)
{
    EXPECT_EQ(TPreview::columnWidthFor(808), 259);
    EXPECT_EQ(TPreview::columnWidthFor(800), 256);
    EXPECT_EQ(TPreview::columnWidthFor(1000), 323);
    EXPECT_EQ(TPreview::columnWidthFor(10), 0);
}

TEST(TPreview, ShowingAndResizingSpreadTheColumnsOverDraggedWidths)
{
    TPreview dialog(sampleRows(), sampleMarks());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTableView* grid = gridOf(dialog);
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(dialog.width(), 808);
    EXPECT_EQ(columnWidths(*grid), (std::vector<int> { 259, 259, 259 }));

    grid->horizontalHeader()->resizeSection(1, 40); // as a drag of the mouse does
    dialog.resize(800, 600);
    QTRY_COMPARE(dialog.width(), 800);
    EXPECT_EQ(columnWidths(*grid), (std::vector<int> { 256, 256, 256 }));
}

TEST(TPreview, ALongNameTakesTheRoomTheOtherColumnsLeave)
{
    // A deep directory and a long new name: the name is what the preview is for.
    const std::u32string directory = U"/home/someone/Music/" + std::u32string(60, U'd') + U"/";
    const std::u32string newName = U"01 - A Rather Long Track Title Of An Old Record.mp3";
    engine::UndoLog rows;
    rows.append(directory, U"01.mp3", newName);
    TPreview dialog(std::move(rows), { { true, false } });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTableView* grid = gridOf(dialog);
    QFont bold = grid->font();
    bold.setBold(true);
    const int needed = QFontMetrics(bold).horizontalAdvance(app::toDisplay(newName));
    ASSERT_GT(needed, TPreview::columnWidthFor(dialog.width())) << "the case needs a long name";
    const std::vector<int> widths = columnWidths(*grid);
    EXPECT_GE(widths[2], needed);
    EXPECT_LE(widths[0] + widths[1] + widths[2], 3 * TPreview::columnWidthFor(dialog.width()));
    // The old name keeps what it needs, and the directory has what is left.
    EXPECT_GE(widths[1], QFontMetrics(grid->font()).horizontalAdvance(QStringLiteral("01.mp3")));
    EXPECT_GT(widths[0], 0);
}

TEST(TPreview, WindowHasTheGridAbovePanelAndButton)
{
    TPreview dialog(sampleRows(), sampleMarks());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Anteprima"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.minimumSize(), QSize(800, 600));
    EXPECT_EQ(dialog.size(), QSize(808, 631));

    QTableView* grid = gridOf(dialog);
    auto* panel = dialog.findChild<QWidget*>(QStringLiteral("Panel1"));
    auto* button = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
    ASSERT_TRUE(grid && panel && button);
    EXPECT_EQ(button->text(), QStringLiteral("Chiudi"));
    EXPECT_EQ(panel->height(), 41);
    EXPECT_EQ(panel->geometry().bottom(), dialog.height() - 1);
    EXPECT_EQ(grid->geometry(), QRect(0, 0, dialog.width(), dialog.height() - 41));
    EXPECT_TRUE(panel->rect().contains(button->geometry())) << "the button is not clipped";
    EXPECT_EQ(grid->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(grid->showGrid());
    EXPECT_FALSE(grid->verticalHeader()->isVisible());
    EXPECT_EQ(grid->rowHeight(0), 24);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(PreviewModel, ShowsHeadersAndTextsWithASpaceForEmptyOnes)
{
    PreviewModel model(sampleRows(), sampleMarks());
    ASSERT_EQ(model.rowCount(), 4);
    ASSERT_EQ(model.columnCount(), 3);
    const std::vector<QString> headers { QStringLiteral("Directory"), QStringLiteral("Prima"),
        QStringLiteral("Dopo") };
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), headers[c]);
        EXPECT_EQ(headers[c],
            app::constantText(c == 0 ? lang::id::DIRECTORY
                    : c == 1         ? lang::id::PRIMA
                                     : lang::id::DOPO));
    }
    const auto cell = [&](int row, int column) {
        return model.data(model.index(row, column), Qt::DisplayRole).toString();
    };
    EXPECT_EQ(cell(1, 0), QStringLiteral("/music/"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("a b.mp3"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("A B.mp3"));
    EXPECT_EQ(cell(3, 0), QStringLiteral(" "));
    EXPECT_EQ(cell(3, 1), QStringLiteral(" "));
    EXPECT_EQ(cell(3, 2), QStringLiteral("caf\uFFFD")) << "an undecodable byte is shown as U+FFFD";
    EXPECT_FALSE(model.flags(model.index(1, 2)) & Qt::ItemIsEditable);
}

TEST(PreviewModel, MarksChangedAndConflictingRows)
{
    PreviewModel model(sampleRows(), sampleMarks());
    const auto role
        = [&](int row, int column, int r) { return model.data(model.index(row, column), r); };
    const auto bold = [&](int row, int column) {
        const QVariant font = role(row, column, Qt::FontRole);
        return font.isValid() && font.value<QFont>().bold();
    };
    EXPECT_FALSE(bold(0, 2)) << "unchanged";
    EXPECT_TRUE(bold(1, 2)) << "changed";
    EXPECT_FALSE(bold(1, 1)) << "only the new name stands out";
    EXPECT_TRUE(role(0, 1, Qt::ForegroundRole).isValid()) << "unchanged rows are dimmed";
    EXPECT_FALSE(role(1, 1, Qt::ForegroundRole).isValid());

    for (int column = 0; column < 3; ++column) {
        EXPECT_FALSE(role(1, column, Qt::BackgroundRole).isValid());
        EXPECT_FALSE(role(1, column, Qt::ToolTipRole).isValid());
        const QVariant background = role(2, column, Qt::BackgroundRole);
        ASSERT_TRUE(background.isValid());
        EXPECT_EQ(background.value<QBrush>().color(), QColor(255, 200, 200));
        EXPECT_EQ(role(2, column, Qt::ToolTipRole).toString(), PreviewModel::conflictToolTip());
    }
    EXPECT_TRUE(bold(2, 2));
}

TEST(PreviewModel, RowsTheRunWillRefuseStandOutWithTheReasonItsBoxWouldGive)
{
    engine::UndoLog rows;
    rows.append(U"/music/", U"a.mp3", std::u32string(300, U'n'));
    rows.append(U"/music/", U"b.mp3", U"..");
    rows.append(U"/music/", U"c.mp3", U"C.mp3");
    PreviewModel model(std::move(rows),
        { { true, false, ENAMETOOLONG }, { true, false, engine::kNotAnEntryName },
            { true, false, 0 } });
    const auto role
        = [&](int row, int column, int r) { return model.data(model.index(row, column), r); };
    for (int column = 0; column < 3; ++column) {
        for (const int row : { 0, 1 }) {
            const QVariant background = role(row, column, Qt::BackgroundRole);
            ASSERT_TRUE(background.isValid());
            EXPECT_EQ(background.value<QBrush>().color(), QColor(255, 200, 200));
        }
        EXPECT_FALSE(role(2, column, Qt::BackgroundRole).isValid());
    }
    EXPECT_EQ(role(0, 2, Qt::ToolTipRole).toString(),
        app::toQt(engine::retryCaption(platform::SysError { ENAMETOOLONG, {} })));
    EXPECT_EQ(role(1, 2, Qt::ToolTipRole).toString(),
        app::toQt(engine::retryCaption(platform::SysError { engine::kNotAnEntryName, {} })));
    EXPECT_NE(role(0, 2, Qt::ToolTipRole).toString(), role(1, 2, Qt::ToolTipRole).toString());
}

TEST(PreviewModel, RowsWithoutMarksAreMarkedByComparingTheNames)
{
    PreviewModel model(sampleRows(), { { false, false } });
    EXPECT_FALSE(model.mark(0).changed);
    EXPECT_TRUE(model.mark(1).changed);
    EXPECT_TRUE(model.mark(2).changed);
    EXPECT_FALSE(model.mark(2).conflict);
}

TEST(TPreview, HundredThousandRowsAreShownDownToTheLast)
{
    engine::UndoLog rows;
    constexpr int count = 100'000;
    for (int i = 0; i < count; ++i) {
        std::u32string n;
        for (const char c : std::to_string(i))
            n.push_back(static_cast<char32_t>(c));
        rows.append(U"/d/", U"f" + n, U"F" + n);
    }
    TPreview dialog(std::move(rows), std::vector<engine::PreviewMark>(count, { true, false }));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTableView* grid = gridOf(dialog);
    ASSERT_EQ(grid->model()->rowCount(), count);
    grid->scrollToBottom();
    QCoreApplication::processEvents();
    const QModelIndex last = grid->indexAt(QPoint(5, grid->viewport()->height() - 2));
    EXPECT_EQ(last.row(), count - 1);
    EXPECT_EQ(last.data().toString(), QStringLiteral("/d/"));
    EXPECT_EQ(last.siblingAtColumn(2).data().toString(), QStringLiteral("F99999"));
}

TEST(TPreview, ChiudiClosesTheModalWindowAccepted)
{
    TPreview dialog(sampleRows(), sampleMarks());
    QSignalSpy finished(&dialog, &QDialog::finished);
    QTimer::singleShot(0, &dialog, [&dialog] {
        QTest::mouseClick(
            dialog.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace quorvane::test
