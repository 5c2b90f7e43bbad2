// CalendarSettingsFile  Reading and writing the calendar window's settings documents.
#include "calendar/CalendarSettingsFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>

#include "calendar/CalendarSettings.h"
#include "calendar/QuorvexWindow.h"
#include "calendar/YearList.h"
#include "core/FileTypes.h"
#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "platform/Text.h"
#include "platform/WholeFile.h"

namespace CalendarSettingsFile {

namespace {

qint16 Index(const QComboBox* popup) {
    return popup ? static_cast<qint16>(popup->currentIndex()) : qint16(-1);
}

// The year number a year popup shows: its selected text as a number.
qint16 Year(const QComboBox* popup) {
    return static_cast<qint16>(Text::ToInt32(Text::Val(popup ? popup->currentText() : QString())));
}

QString FieldText(const QLineEdit* field) { return field ? field->text() : QString(); }

bool Checked(const QCheckBox* box) { return box && box->isChecked(); }

// Selects `index` when the popup has such an item; any other index leaves it as it was.
void Select(QComboBox* popup, int index) {
    if (popup && index >= 0 && index < popup->count()) popup->setCurrentIndex(index);
}

// Selects the item of `year`, counted from the number the popup's first item reads; a year before
// the list selects the first item, one after it the last.
void SelectYear(QComboBox* popup, int year) {
    if (popup && popup->count() > 0) popup->setCurrentIndex(YearList::IndexOf(year, popup));
}

void SetText(QLineEdit* field, const QString& text) {
    if (field) field->setText(text);
}

void SetChecked(QCheckBox* box, bool value) {
    if (box) box->setChecked(value);
}

CalendarSettings Collect(const QuorvexWindow& w) {
    CalendarSettings s;
    s.location = w.Location ? w.Location->text() : QString();
    s.firstMonth = Index(w.FirstMonth);
    s.firstYear = Year(w.FirstYear);
    s.lastMonth = Index(w.LastMonth);
    s.lastYear = Year(w.LastYear);
    s.includeHighTides = Checked(w.IncludeHighTides);
    s.highTideAbove = FieldText(w.HighTideAbove);
    s.highTideBelow = FieldText(w.HighTideBelow);
    s.highTideBefore = Index(w.HighTideBefore);
    s.highTideAfter = Index(w.HighTideAfter);
    s.includeLowTides = Checked(w.IncludeLowTides);
    s.lowTideAbove = FieldText(w.LowTideAbove);
    s.lowTideBelow = FieldText(w.LowTideBelow);
    s.lowTideBefore = Index(w.LowTideBefore);
    s.lowTideAfter = Index(w.LowTideAfter);
    s.sunriseSunset = Checked(w.SunriseSunset);
    s.moonriseMoonset = Checked(w.MoonriseMoonset);
    s.showMoonPhases = Checked(w.ShowMoonPhases);
    s.outputPath = w.OutputPath ? w.OutputPath->text() : QString();
    s.outputFormat = Index(w.OutputFormat);
    return s;
}

// Sets the controls of every field the document holds, in document order.
void Apply(QuorvexWindow& w, const CalendarSettings::Decoded& d) {
    using F = CalendarSettings;
    const CalendarSettings& s = d.fields;
    if (d.Has(F::LocationField) && w.Location) w.Location->setText(s.location);
    if (d.Has(F::FirstMonthField)) Select(w.FirstMonth, s.firstMonth);
    if (d.Has(F::FirstYearField)) SelectYear(w.FirstYear, s.firstYear);
    if (d.Has(F::LastMonthField)) Select(w.LastMonth, s.lastMonth);
    if (d.Has(F::LastYearField)) SelectYear(w.LastYear, s.lastYear);
    if (d.Has(F::IncludeHighTidesField)) SetChecked(w.IncludeHighTides, s.includeHighTides);
    if (d.Has(F::HighTideAboveField)) SetText(w.HighTideAbove, s.highTideAbove);
    if (d.Has(F::HighTideBelowField)) SetText(w.HighTideBelow, s.highTideBelow);
    if (d.Has(F::HighTideBeforeField)) Select(w.HighTideBefore, s.highTideBefore);
    if (d.Has(F::HighTideAfterField)) Select(w.HighTideAfter, s.highTideAfter);
    if (d.Has(F::IncludeLowTidesField)) SetChecked(w.IncludeLowTides, s.includeLowTides);
    if (d.Has(F::LowTideAboveField)) SetText(w.LowTideAbove, s.lowTideAbove);
    if (d.Has(F::LowTideBelowField)) SetText(w.LowTideBelow, s.lowTideBelow);
    if (d.Has(F::LowTideBeforeField)) Select(w.LowTideBefore, s.lowTideBefore);
    if (d.Has(F::LowTideAfterField)) Select(w.LowTideAfter, s.lowTideAfter);
    if (d.Has(F::SunriseSunsetField)) SetChecked(w.SunriseSunset, s.sunriseSunset);
    if (d.Has(F::MoonriseMoonsetField)) SetChecked(w.MoonriseMoonset, s.moonriseMoonset);
    if (d.Has(F::ShowMoonPhasesField)) SetChecked(w.ShowMoonPhases, s.showMoonPhases);
    if (d.Has(F::OutputPathField) && w.OutputPath) w.OutputPath->setText(s.outputPath);
    if (d.Has(F::OutputFormatField)) Select(w.OutputFormat, s.outputFormat);
}

QString SettingsFilter() {
    const QString filter = FileTypes::NameFilter(FileTypes::Quorvex().Name);
    return filter.isEmpty() ? QStringLiteral("Quorvex settings (*.quorvex)") : filter;
}

}  // namespace

QString SuggestedName(const QString& locationText) {
    static const QString kExtension = QStringLiteral(".quorvex");
    if (locationText.isEmpty()) return QStringLiteral("Saved Settings") + kExtension;
    const int p = Text::InStr(locationText, QStringLiteral(","));
    if (p > 1) return Text::Left(locationText, p - 1) + kExtension;
    return Text::Left(locationText, 23) + kExtension;
}

bool SaveFile(QuorvexWindow& w, const QString& item) {
    if (item.isEmpty()) return false;
    // Written beside the document and put in its place only when complete: a document that
    // cannot be written whole leaves the earlier one as it was. The flush shows a full disk,
    // which commit() would not report.
    QSaveFile file(item);
    const QByteArray bytes = Collect(w).Encode();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.commit()) {
        Dialogs::MsgBox(kUnableToSave + QFileInfo(item).absoluteFilePath(), &w);
        return false;
    }
    w.theFile = QFileInfo(item).absoluteFilePath();
    return true;
}

bool OpenFile(QuorvexWindow& w, const QString& item) {
    // A named pipe that nothing writes to is a document that cannot be opened.
    QByteArray bytes;
    if (!WholeFile::Read(item, &bytes)) return false;
    const CalendarSettings::Decoded d = CalendarSettings::Decode(bytes);
    if (!d.versionOk) {
        Dialogs::MsgBox(kInvalidMessage, &w);
        return false;
    }
    Apply(w, d);
    w.theFile = QFileInfo(item).absoluteFilePath();
    return true;
}

void DoSaveSettingsAs(QuorvexWindow& w) {
    DialogRequest r;
    r.kind = DialogRequest::Kind::SaveAs;
    r.title = QStringLiteral("Save the Quorvex Settings");
    r.prompt = QStringLiteral("Specify a file for saving the Quorvex settings");
    r.suggestedName = SuggestedName(w.Location ? w.Location->text() : QString());
    QPointer<QuorvexWindow> self(&w);
    const QString chosen = Dialogs::Run(r, &w);
    if (!self || chosen.isEmpty()) return;
    SaveFile(w, chosen);
}

bool FileOpenSettings_Action(QuorvexWindow& w) {
    DialogRequest r;
    r.kind = DialogRequest::Kind::Open;
    r.title = QStringLiteral("Open a saved Quorvex settings file");
    r.prompt = QStringLiteral("Specify the Quorvex settings file to open");
    r.nameFilter = SettingsFilter();
    const QString start = Folders::GetFolderItem(Folders::Documents());
    if (!start.isEmpty() && QFileInfo(start).isDir()) r.initialDirectory = start;
    QPointer<QuorvexWindow> self(&w);
    const QString chosen = Dialogs::Run(r, &w);
    if (self && !chosen.isEmpty()) OpenFile(w, chosen);
    return true;
}

bool FileSaveSettings_Action(QuorvexWindow& w) {
    if (w.theFile.isEmpty())
        DoSaveSettingsAs(w);
    else
        SaveFile(w, w.theFile);
    return true;
}

bool FileSaveSettingsAs_Action(QuorvexWindow& w) {
    DoSaveSettingsAs(w);
    return true;
}

}  // namespace CalendarSettingsFile
