// The recently used files in the File menu, and configuration files dropped on the editor.
#include "editorfixture.h"

#include "editor/recentfiles.h"
#include "support/tempdir.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <memory>

namespace kivo::gui::test {
namespace {

using Paths = std::vector<std::string>;

class RecentTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        defaults.LoadImageFile(ProgramFolder() + "Default.bin");
        UseChooser();
        ClearBoxes();
    }
    // The file dialogs answer with `next` (empty: cancelled).
    void UseChooser() {
        editor->SetFileChooser([this](QWidget*, TfrmEnterData::FileDialog, const QString&,
                                      const QString&,
                                      const QString&) { return QString::fromStdString(next); });
    }
    // A configuration file of `size` bytes: the default image with a mark at 0xBA, which
    // edtRepeatSequence shows.
    std::string MakeFile(const std::string& name, std::uint8_t mark = 9, std::size_t size = 512) {
        std::vector<std::uint8_t> bytes(defaults.image.begin(), defaults.image.end());
        bytes.resize(size, 0x55);
        bytes[0xBA] = mark;
        return dir.Write(name, bytes);
    }
    void Open(const std::string& path) {
        next = path;
        editor->mnuFileOpenClick();
    }

    QAction* Entry(int n) const { return Find<QAction>("mnuFileRecent" + std::to_string(n)); }
    // The texts of the entries the File menu shows, top down.
    QStringList Entries() const {
        QStringList texts;
        for (int n = 1; n <= 8; ++n)
            if (Entry(n)->isVisible()) texts << Entry(n)->text();
        return texts;
    }
    Paths Stored() const {
        KivoIni ini;
        ini.SetFileName(ProgramFolder() + "Values.ini");
        RecentFiles recent;
        recent.Load(ini);
        return recent.Paths();
    }

    KivoData defaults;
    kivo::test::TempDir dir;
    std::string next;
};

TEST_F(RecentTest, OpeningAndSavingListTheFileForEveryEditor) {
    // Nothing listed yet: the menu looks as it always did.
    EXPECT_TRUE(Entries().isEmpty());
    EXPECT_FALSE(Find<QAction>("mnuFileRecentSeparator")->isVisible());

    const std::string a = MakeFile("a.Kivo");
    Open(a);
    Open(MakeFile("short.Kivo", 9, 300)); // refused: not listed
    next = dir.file("b & c.txt");
    ASSERT_TRUE(editor->mnuFileSaveAsClick());
    const std::string b = dir.file("b & c.Kivo");
    EXPECT_EQ(Stored(), (Paths{b, a}));
    EXPECT_EQ(Entries(), (QStringList{"&1 b && c.Kivo", "&2 a.Kivo"}));
    EXPECT_EQ(Entry(1)->statusTip().toStdString(), b);
    EXPECT_EQ(Entry(2)->toolTip().toStdString(), a);

    // The entries sit between separators right above Exit.
    const QList<QAction*> items = Find<QMenu>("mnuFile")->actions();
    const auto at = [&items](const char* name) {
        for (int i = 0; i < items.size(); ++i)
            if (items[i]->objectName() == QLatin1String(name)) return i;
        return -1;
    };
    EXPECT_TRUE(items[at("mnuFileRecent1") - 1]->isSeparator());
    EXPECT_EQ(at("mnuFileRecentSeparator"), at("mnuFileRecent8") + 1);
    EXPECT_EQ(at("mnuFileExit"), at("mnuFileRecentSeparator") + 1);
    EXPECT_TRUE(items[at("mnuFileRecentSeparator")]->isVisible());

    // Saving again moves nothing; opening a listed file moves it to the top.
    ASSERT_TRUE(editor->mnuFileSaveClick());
    Open(a);
    EXPECT_EQ(Stored(), (Paths{a, b}));

    // The next editor reads the list from Values.ini, and so does this one when it is shown.
    auto second = std::make_unique<TfrmEnterData>(ctx);
    EXPECT_EQ(second->findChild<QAction*>("mnuFileRecent1")->text(), "&1 a.Kivo");
    second->SetFileChooser([&](QWidget*, TfrmEnterData::FileDialog, const QString&, const QString&,
                               const QString&) { return QString::fromStdString(b); });
    second->mnuFileOpenClick();
    second.reset();
    editor->show();
    EXPECT_EQ(Entries(), (QStringList{"&1 b && c.Kivo", "&2 a.Kivo"}));
    editor->hide();
    EXPECT_EQ(Boxes(), std::vector<int>{15010});
}

TEST_F(RecentTest, AnEntryOpensItsFileAsFileOpenDoes) {
    const std::string old = MakeFile("old.Kivo", 12, 256);
    const std::string bad = MakeFile("bad.Kivo", 13);
    Open(bad);
    Open(old);
    MakeEditor(); // a fresh editor, on the default configuration
    ClearBoxes();
    ASSERT_EQ(Entries(), (QStringList{"&1 old.Kivo", "&2 bad.Kivo"}));

    Entry(1)->trigger();
    EXPECT_EQ(Boxes(), std::vector<int>{15036}); // an old, short configuration, as with Open
    EXPECT_EQ(editor->Data().fileName, old);
    EXPECT_EQ(editor->Data().imageSource, SourceOpened);
    EXPECT_EQ(editor->ImageSize(), 256u);
    EXPECT_EQ(editor->windowTitle(), "old.Kivo - KIVO Programmiertool");
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "12");

    // A listed file that can no longer be read: Open's message, and it stays listed.
    ClearBoxes();
    dir.Write(bad, std::string(300, '\0'));
    Entry(2)->trigger();
    EXPECT_EQ(Boxes(), std::vector<int>{15010});
    EXPECT_EQ(editor->Data().fileName, old);
    EXPECT_EQ(Stored(), (Paths{old, bad}));
}

TEST_F(RecentTest, AFileThatIsGoneIsTakenOffTheList) {
    const std::string gone = MakeFile("gone.Kivo");
    const std::string kept = MakeFile("kept.Kivo");
    Open(kept);
    Open(gone);
    Open(MakeFile("current.Kivo", 21));
    ClearBoxes();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(gone)));
    const Image before = editor->Data().image;

    Entry(2)->trigger();
    ASSERT_EQ(Boxes(), std::vector<int>{16051});
    EXPECT_EQ(Recorded().shown[0].kind, MsgKind::Error);
    EXPECT_NE(Recorded().shown[0].text.indexOf(QString::fromStdString(gone)), -1);
    EXPECT_EQ(Stored(), (Paths{dir.file("current.Kivo"), kept}));
    EXPECT_EQ(Entries(), (QStringList{"&1 current.Kivo", "&2 kept.Kivo"}));
    EXPECT_EQ(editor->Data().image, before);
    EXPECT_EQ(editor->Data().fileName, dir.file("current.Kivo"));
}

TEST_F(RecentTest, ChangesAreOfferedForSavingBeforeAnEntryReplacesThem) {
    const std::string other = MakeFile("other.Kivo", 30);
    const std::string mine = MakeFile("mine.Kivo", 31);
    Open(other);
    Open(mine);
    ClearBoxes();

    // Unchanged: no question.
    Entry(2)->trigger();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(editor->Data().fileName, other);
    Entry(2)->trigger(); // mine.Kivo again
    ASSERT_EQ(editor->Data().fileName, mine);

    Edit("edtRepeatSequence")->setText("44");
    struct Step {
        int answer;
        bool opened;
        std::uint8_t savedMark; // 0xBA of mine.Kivo afterwards
    } steps[] = {{BtnCancel, false, 31}, {BtnYes, true, 44}};
    for (const Step& s : steps) {
        ClearBoxes();
        Recorded().answers = {s.answer};
        Entry(2)->trigger(); // other.Kivo
        ASSERT_EQ(Boxes(), std::vector<int>{16050}) << s.answer;
        EXPECT_EQ(Recorded().shown[0].buttons, BtnYes | BtnNo | BtnCancel);
        EXPECT_EQ(editor->Data().fileName, s.opened ? other : mine) << s.answer;
        EXPECT_EQ(dir.Read(mine)[0xBA], s.savedMark) << s.answer;
    }

    // No: the changes are dropped, nothing is written.
    Edit("edtRepeatSequence")->setText("55");
    ClearBoxes();
    Recorded().answers = {BtnNo};
    Entry(2)->trigger(); // mine.Kivo, listed second now
    EXPECT_EQ(Boxes(), std::vector<int>{16050});
    EXPECT_EQ(editor->Data().fileName, mine);
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "44");
    EXPECT_EQ(dir.Read(other)[0xBA], 30);

    // Yes with no file of its own asks for a name; cancelling that keeps everything.
    editor->mnuFileNewClick();
    Edit("edtRepeatSequence")->setText("66");
    ClearBoxes();
    Recorded().answers = {BtnYes};
    next.clear();
    Entry(1)->trigger();
    EXPECT_EQ(Boxes(), std::vector<int>{16050});
    EXPECT_EQ(editor->Data().imageSource, SourceDefault);
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "66");
}

// Drags as another program's file manager would offer them.
struct Drag {
    QList<QUrl> urls;
    QString text;
    Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
};

std::unique_ptr<QMimeData> MimeOf(const Drag& d) {
    auto mime = std::make_unique<QMimeData>();
    if (!d.urls.isEmpty()) mime->setUrls(d.urls);
    if (!d.text.isEmpty()) mime->setText(d.text);
    return mime;
}

// Sends the enter event; a drop follows only when it was accepted, as with a real drag.
bool DragOnto(QWidget* target, const Drag& d, bool drop) {
    const auto mime = MimeOf(d);
    QDragEnterEvent enter(QPoint(5, 5), d.actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) return false;
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction); // never a move: the source keeps its file
    if (!drop) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(target, &leave);
        return true;
    }
    QDropEvent dropped(QPointF(5, 5), d.actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    EXPECT_TRUE(dropped.isAccepted());
    // The file opens once the drop is over.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    return true;
}

QUrl Local(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

TEST_F(RecentTest, ADroppedConfigurationOpens) {
    const std::string upper = MakeFile("UPPER.KIVO", 41);
    ASSERT_TRUE(DragOnto(editor.get(), {{Local(upper)}, {}}, true));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(editor->Data().fileName, upper);
    EXPECT_EQ(editor->Data().imageSource, SourceOpened);
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "41");
    EXPECT_EQ(Stored(), Paths{upper});

    // Dropped on an edit field (with the path as text besides, as file managers offer it): the
    // window opens the file and the field keeps its text.
    const std::string onField = MakeFile("field.kivo", 42);
    QLineEdit* field = Edit("edtTelephoneNoA");
    const QString before = field->text();
    ASSERT_TRUE(DragOnto(field, {{Local(onField)}, QString::fromStdString(onField)}, true));
    EXPECT_EQ(editor->Data().fileName, onField);
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "42");
    EXPECT_EQ(field->text(), before);

    // With changes, the same question as for a recent entry; Cancel keeps them.
    Edit("edtRepeatSequence")->setText("77");
    Recorded().answers = {BtnCancel};
    ASSERT_TRUE(DragOnto(editor.get(), {{Local(upper)}, {}}, true));
    EXPECT_EQ(Boxes(), std::vector<int>{16050});
    EXPECT_EQ(editor->Data().fileName, onField);
    EXPECT_EQ(Edit("edtRepeatSequence")->text(), "77");

    // A dropped file that cannot be read: Open's message.
    editor->mnuFileNewClick();
    ClearBoxes();
    const std::string bad = MakeFile("bad.Kivo", 9, 300);
    ASSERT_TRUE(DragOnto(editor.get(), {{Local(bad)}, {}}, true));
    EXPECT_EQ(Boxes(), std::vector<int>{15010});
    EXPECT_EQ(editor->Data().imageSource, SourceDefault);
}

TEST_F(RecentTest, OtherDragsAreRefused) {
    const std::string a = MakeFile("a.Kivo");
    const std::string b = MakeFile("b.Kivo");
    const std::string text = MakeFile("notes.txt");
    QDir().mkpath(QString::fromStdString(dir.file("folder.Kivo")));
    const struct {
        const char* what;
        Drag drag;
    } cases[] = {
        {"another kind of file", {{Local(text)}, {}}},
        {"a name only ending like one", {{Local(MakeFile("a.Kivo.bak"))}, {}}},
        {"two configurations", {{Local(a), Local(b)}, {}}},
        {"a remote file", {{QUrl("https://example.org/a.Kivo")}, {}}},
        {"a folder", {{Local(dir.file("folder.Kivo"))}, {}}},
        {"a file that is not there", {{Local(dir.file("missing.Kivo"))}, {}}},
        {"text alone", {{}, QString::fromStdString(a)}},
        {"a move only", {{Local(a)}, {}, Qt::MoveAction}},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(DragOnto(editor.get(), c.drag, true)) << c.what;
        // On an edit field too; dragged text alone stays the field's to take.
        EXPECT_EQ(DragOnto(Edit("edtTelephoneNoA"), c.drag, false), c.drag.urls.isEmpty())
            << c.what;
    }
    // Nor while a device operation shows its wait cursor.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    EXPECT_FALSE(DragOnto(editor.get(), {{Local(a)}, {}}, true));
    QApplication::restoreOverrideCursor();

    EXPECT_EQ(editor->Data().imageSource, SourceDefault);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(Stored().empty());
}

} // namespace
} // namespace kivo::gui::test
