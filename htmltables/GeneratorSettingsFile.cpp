// GeneratorSettingsFile  Reading and writing the generator window's settings documents.
#include "htmltables/GeneratorSettingsFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>

#include "core/FileTypes.h"
#include "htmltables/GenerateHTML.h"
#include "htmltables/GeneratorSettings.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/Text.h"
#include "platform/WholeFile.h"

namespace GeneratorSettingsFile {

namespace {

QString SelectedText(const QComboBox* popup) { return popup ? popup->currentText() : QString(); }

// The save dialog both save commands show; "" for a cancel.
QString AskForSettingsFile(GenerateHTML& window) {
    DialogRequest r;
    r.kind = DialogRequest::Kind::SaveAs;
    r.suggestedName = kSuggestedName;
    r.nameFilter = FileTypes::NameFilter(FileTypes::TideHTML().Name);
    return Dialogs::Run(r, &window);
}

}  // namespace

bool SaveGeneratorInfo(GenerateHTML& w, const QString& item) {
    if (item.isEmpty()) return false;
    GeneratorSettings s;
    s.location = w.Location ? w.Location->text() : QString();
    s.firstMonth = SelectedText(w.FirstMonth);
    s.firstYear = SelectedText(w.FirstYear);
    s.lastMonth = SelectedText(w.LastMonth);
    s.lastYear = SelectedText(w.LastYear);
    s.outputPath = w.OutputPath ? w.OutputPath->text() : QString();
    s.daylightMargin = SelectedText(w.DaylightMarginMenu);
    s.maximumHeight = SelectedText(w.MaximumHeightMenu);
    s.alsoGenCSV = w.AlsoGenCSV && w.AlsoGenCSV->isChecked();

    // Written beside the document and put in its place only when complete: a document that
    // cannot be written whole leaves the earlier one as it was. The flush shows a full disk,
    // which commit() would not report.
    QSaveFile file(item);
    const QByteArray bytes = s.Encode();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        Dialogs::MsgBox(
            QStringLiteral("Unable to save to file ") + QFileInfo(item).absoluteFilePath(), &w);
        return false;
    }
    return true;
}

bool SetPopupMenu(GenerateHTML& window, QComboBox* menu, const QString& text) {
    QPointer<GenerateHTML> self(&window);
    QPointer<QComboBox> popup(menu);
    for (int row = 0; popup && row <= popup->count() - 1; ++row) {
        if (Text::Same(popup->itemText(row), text)) {
            const bool was = window.updating;
            window.updating = true;
            popup->setCurrentIndex(row);
            if (!self) return false;
            window.updating = was;
            return true;
        }
        EventLoop::Yield();
        if (!self) return false;
    }
    return true;
}

bool LoadGeneratorInfo(GenerateHTML& w, const QString& item, Loaded* how) {
    if (how) *how = Loaded::NotOpened;
    // A named pipe that nothing writes to is a document that cannot be opened.
    QByteArray bytes;
    if (!WholeFile::Read(item, &bytes)) return true;
    QPointer<GenerateHTML> self(&w);
    if (!GeneratorSettings::IsTextDocument(bytes)) {
        if (how) *how = Loaded::Refused;
        Dialogs::MsgBox(kInvalidMessage, &w);
        return !self.isNull();
    }
    if (how) *how = Loaded::Applied;
    const GeneratorSettings s = GeneratorSettings::Decode(bytes);

    w.updating = true;
    if (w.Location) w.Location->setText(s.location);
    // Each selection may yield; the window can be closed and deleted meanwhile.
    const bool alive =
        SetPopupMenu(w, w.FirstMonth, s.firstMonth) && SetPopupMenu(w, w.FirstYear, s.firstYear) &&
        SetPopupMenu(w, w.LastMonth, s.lastMonth) && SetPopupMenu(w, w.LastYear, s.lastYear);
    if (!alive || !self) return false;
    if (w.OutputPath) w.OutputPath->setText(s.outputPath);
    if (!SetPopupMenu(w, w.DaylightMarginMenu, s.daylightMargin) ||
        !SetPopupMenu(w, w.MaximumHeightMenu, s.maximumHeight) || !self)
        return false;
    if (w.AlsoGenCSV) w.AlsoGenCSV->setChecked(s.alsoGenCSV);
    w.updating = false;
    return true;
}

bool FileOpenSettings_Action(GenerateHTML& w) {
    DialogRequest r;
    r.kind = DialogRequest::Kind::Open;
    r.nameFilter = FileTypes::NameFilter(FileTypes::All);
    QPointer<GenerateHTML> self(&w);
    const QString chosen = Dialogs::Run(r, &w);
    if (!self || chosen.isEmpty()) return true;
    Loaded how = Loaded::NotOpened;
    LoadGeneratorInfo(w, chosen, &how);
    // A refused file must not become the document that Save Settings overwrites.
    if (self && how != Loaded::Refused) w.theFile = chosen;
    return true;
}

bool FileSaveSettings_Action(GenerateHTML& w) {
    if (w.theFile.isEmpty()) {
        QPointer<GenerateHTML> self(&w);
        const QString chosen = AskForSettingsFile(w);
        if (!self || chosen.isEmpty()) return true;
        // The chosen file becomes the window's document once it has been written.
        if (SaveGeneratorInfo(w, chosen) && self) w.theFile = chosen;
        return false;
    }
    SaveGeneratorInfo(w, w.theFile);
    return false;
}

bool FileSaveSettingsAs_Action(GenerateHTML& w) {
    QPointer<GenerateHTML> self(&w);
    const QString chosen = AskForSettingsFile(w);
    if (!self || chosen.isEmpty()) return false;
    if (SaveGeneratorInfo(w, chosen) && self) w.theFile = chosen;
    return false;
}

}  // namespace GeneratorSettingsFile
