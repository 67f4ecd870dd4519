// An editor on freshly installed program folders, talking to the in-process simulator.
#pragma once

#include "gui/common/appcontext.h"
#include "gui/editor/enterdata.h"
#include "support/guitest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <memory>
#include <string>

namespace kivo::gui::test {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Chooses the simulated unit behind the Kobu ("sim", "sim:size=256", ...).
    void UseKobu(const std::string& choice);
    // A new editor (the fixture makes one at the start).
    void MakeEditor();

    template <class W> W* Find(const std::string& name) const {
        W* w = editor->findChild<W*>(QString::fromStdString(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit* Edit(const std::string& name) const { return Find<QLineEdit>(name); }
    QComboBox* List(const std::string& name) const { return Find<QComboBox>(name); }
    QCheckBox* Check(const std::string& name) const { return Find<QCheckBox>(name); }
    // The value the list's selected item stands for, -1 for no selection.
    int ListValue(const std::string& name) const;
    // Selects the item standing for `value`.
    void SelectValue(const std::string& name, int value) const;

    // Ids of the boxes shown so far, in order.
    std::vector<int> Boxes() const;
    void ClearBoxes() const { Recorded().shown.clear(); }

    // A byte of the installed default image in decimal, as a number field shows it.
    QString DefaultText(unsigned addr) const;

    std::string ProgramFolder() const { return ctx.folders.programFolder; }
    std::string ConfigFolder() const { return ctx.folders.configFolder; }

    Folders folders;
    AppContext ctx;
    std::unique_ptr<TfrmEnterData> editor;
};

} // namespace kivo::gui::test
