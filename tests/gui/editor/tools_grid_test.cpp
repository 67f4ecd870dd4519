// Typing into the advanced grid: rows from Values.ini, value cells held to 0..255 as typed.
#include "editorfixture.h"

#include <QFile>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace kivo::gui::test {
namespace {

// Rows with gaps in their numbers, one naming another page's byte (192, the passive alarm
// interval) and three naming no byte of the image.
const char* const kRows = "[ValueAdvanced]\r\n"
                          "Addr=Adr.\r\nDesc=Beschreibung\r\nValue=Wert\r\nUnit=Einheit\r\n"
                          "Addr_1=230\r\nDesc_1=Erste Zeile\r\nUnit_1=ms\r\n"
                          "Addr_3=abc\r\nDesc_3=Keine Zahl\r\n"
                          "Addr_5=231\r\nDesc_5=Zweite Zeile\r\n"
                          "Addr_7=192\r\nDesc_7=Passivalarm\r\n"
                          "Addr_9=600\r\nDesc_9=Zu weit\r\n"
                          "Addr_11=-1\r\nDesc_11=Negativ\r\n";

class GridTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        ReplaceAdvancedSection(kRows);
        MakeEditor();
        grid = Find<QTableWidget>("sgAdvanced");
        Image& image = editor->Data().image;
        image[230] = 0x0A;
        image[231] = 5;
        image[192] = 7;
        editor->ImageToControls();
        // The cells' editors appear on the visible page only.
        editor->SetAccessLevel(4);
        editor->show();
        QApplication::processEvents();
        auto* pages = Find<QTabWidget>("pgcntrlMain");
        pages->setCurrentWidget(Find<QWidget>("tbshtAdvanced"));
        QApplication::processEvents();
        ClearBoxes();
    }

    // Values.ini with its [ValueAdvanced] section replaced by `section`.
    void ReplaceAdvancedSection(const QByteArray& section) const {
        QFile file(QString::fromStdString(ProgramFolder() + "Values.ini"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        file.close();
        QByteArray kept;
        bool inSection = false;
        for (const QByteArray& line : lines) {
            const QByteArray t = line.trimmed();
            if (t.startsWith('['))
                inSection = t.compare("[ValueAdvanced]", Qt::CaseInsensitive) == 0;
            if (!inSection) kept += line + '\n';
        }
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(kept + "\r\n" + section);
    }

    // Selects the value cell of `row`; returns its open editor.
    QLineEdit* EnterValueCell(int row) {
        grid->setCurrentCell(row, 0);
        grid->setCurrentCell(row, 2);
        return qobject_cast<QLineEdit*>(grid->indexWidget(grid->model()->index(row, 2)));
    }
    // Types `keys` into the value cell of `row` and leaves it with Return.
    void TypeIntoCell(int row, const char* keys) {
        QLineEdit* cell = EnterValueCell(row);
        ASSERT_NE(cell, nullptr);
        QTest::keyClick(cell, Qt::Key_A, Qt::ControlModifier); // the old value goes
        QTest::keyClicks(cell, keys);
        QTest::keyClick(cell, Qt::Key_Return);
        QApplication::processEvents();
    }
    QString Cell(int row) const { return grid->item(row, 2)->text(); }
    Image Store() {
        editor->ControlsToImage();
        return editor->Data().image;
    }

    QTableWidget* grid = nullptr;
};

TEST_F(GridTest, RowsInTheirOrderAndOnlyAddressesOfTheImageShown) {
    ASSERT_EQ(grid->rowCount(), 6);
    const char* addresses[] = {"230", "abc", "231", "192", "600", "-1"};
    const char* values[] = {"10", "0", "5", "7", "0", "0"};
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(grid->item(r, 0)->text(), addresses[r]) << r;
        EXPECT_EQ(Cell(r), values[r]) << r;
    }
    EXPECT_EQ(grid->item(0, 1)->text(), "Erste Zeile");
    EXPECT_EQ(grid->item(0, 3)->text(), "ms");
}

// What the user sees in a cell is what is stored; rows naming no byte of the image store
// nothing; a row wins over the other page's control of its byte.
TEST_F(GridTest, TypedValuesAreStoredAsShown) {
    const Image before = Store();
    Find<QLineEdit>("edtPassiveAlarmInterval")->setText("100");
    TypeIntoCell(0, "300");
    EXPECT_EQ(Boxes(), std::vector<int>{15025});
    EXPECT_EQ(Cell(0), "255");
    TypeIntoCell(2, "007");
    EXPECT_EQ(Cell(2), "7"); // shown as the number it stores
    TypeIntoCell(3, "50");
    for (int r : {1, 4, 5}) TypeIntoCell(r, "99");
    EXPECT_EQ(Boxes(), std::vector<int>{15025});

    const Image after = Store();
    EXPECT_EQ(after[230], 255);
    EXPECT_EQ(after[231], 7);
    EXPECT_EQ(after[192], 50);
    for (unsigned a = 0; a < after.size(); ++a)
        if (a != 230 && a != 231 && a != 192) {
            EXPECT_EQ(after[a], before[a]) << a;
        }
}

TEST_F(GridTest, ValueCellsTakeThreeDigitsReachTheCellAsTypedAndEscapeRestores) {
    QLineEdit* cell = EnterValueCell(2);
    ASSERT_NE(cell, nullptr);
    QTest::keyClick(cell, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(cell, "1x2-3 4");
    EXPECT_EQ(cell->text(), "123");
    // Still open: a save from the menu stores what the cell shows.
    EXPECT_EQ(Cell(2), "123");
    EXPECT_EQ(Store()[231], 123);
    EXPECT_TRUE(Boxes().empty());
    // Escape abandons the entry.
    QTest::keyClick(cell, Qt::Key_Escape);
    EXPECT_EQ(Cell(2), "5");
}

TEST_F(GridTest, OnlyValueCellsOpenAnEditor) {
    // The cell editors live in the grid's viewport.
    auto openEditors = [this] {
        int n = 0;
        for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>()) n += e->isVisible();
        return n;
    };
    for (int column : {0, 1, 3}) {
        grid->setCurrentCell(2, column);
        EXPECT_EQ(openEditors(), 0) << column;
    }
    EXPECT_NE(EnterValueCell(2), nullptr);
    EXPECT_EQ(openEditors(), 1);
}

// A cell holding a value outside 0..255 (not from typing) is corrected when it is entered.
TEST_F(GridTest, EnteringACellCorrectsItsValue) {
    struct Case {
        const char* text;
        const char* corrected;
    };
    for (const Case& c : {Case{"300", "255"}, Case{"-4", "0"}, Case{"200", "200"}}) {
        ClearBoxes();
        grid->item(2, 2)->setText(c.text);
        QLineEdit* cell = EnterValueCell(2);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->text(), c.corrected) << c.text;
        EXPECT_EQ(Cell(2), c.corrected) << c.text;
        EXPECT_EQ(Boxes().size(), c.text == std::string(c.corrected) ? 0u : 1u) << c.text;
        if (!Boxes().empty()) {
            EXPECT_EQ(Boxes().front(), 15025);
        }
        QTest::keyClick(cell, Qt::Key_Escape);
    }
}

// A real box over the grid, closed with Enter as a user would: it must not take the cell's
// editor down with it while Qt is still inside the editor's key handling.
TEST_F(GridTest, ARealBoxForAValueTooLargeClosesWithEnter) {
    Messages::Install(nullptr);
    int boxes = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            ++boxes;
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    closer.start(50);
    QLineEdit* cell = EnterValueCell(0);
    ASSERT_NE(cell, nullptr);
    QTest::keyClick(cell, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(cell, "300");
    for (int i = 0; i < 40 && boxes == 0; ++i) QTest::qWait(25);
    QTest::qWait(100);
    closer.stop();
    Messages::Install(&Recorded());
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(Cell(0), "255"); // the value is held at its largest
    EXPECT_EQ(Store()[230], 255);
}

} // namespace
} // namespace kivo::gui::test
