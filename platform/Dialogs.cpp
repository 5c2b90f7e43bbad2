// Dialogs  The one seam for message boxes and file or folder dialogs.
#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

namespace {

class QtDialogs : public Dialogs::Backend {
public:
    QString Run(const DialogRequest& r, QWidget* parent) override {
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            // Nobody can answer a modal dialog on the offscreen platform: treat it as cancelled.
            std::fprintf(stderr, "quorvex: dialog not shown on the offscreen platform: %s\n",
                         qPrintable(r.message.isEmpty() ? r.title : r.message));
            return QString();
        }
        if (r.kind == DialogRequest::Kind::Message) {
            QMessageBox box(parent);
            box.setText(r.message);
            box.setStandardButtons(QMessageBox::Ok);
            box.exec();
            return QString();
        }
        QFileDialog dialog(parent);
        if (!r.title.isEmpty()) dialog.setWindowTitle(r.title);
        if (!r.prompt.isEmpty()) {
            if (r.title.isEmpty()) dialog.setWindowTitle(r.prompt);
            dialog.setLabelText(QFileDialog::FileName, r.prompt);
        }
        if (!r.initialDirectory.isEmpty()) dialog.setDirectory(r.initialDirectory);
        if (!r.nameFilter.isEmpty()) dialog.setNameFilter(r.nameFilter);
        switch (r.kind) {
            case DialogRequest::Kind::SelectFolder:
                dialog.setFileMode(QFileDialog::Directory);
                dialog.setOption(QFileDialog::ShowDirsOnly, true);
                break;
            case DialogRequest::Kind::SaveAs:
                dialog.setAcceptMode(QFileDialog::AcceptSave);
                dialog.setFileMode(QFileDialog::AnyFile);
                if (!r.suggestedName.isEmpty()) dialog.selectFile(r.suggestedName);
                break;
            case DialogRequest::Kind::Open:
                dialog.setFileMode(QFileDialog::ExistingFile);
                break;
            case DialogRequest::Kind::Message:
                break;
        }
        if (!r.actionCaption.isEmpty()) dialog.setLabelText(QFileDialog::Accept, r.actionCaption);
        if (dialog.exec() != QDialog::Accepted) return QString();
        const QStringList chosen = dialog.selectedFiles();
        return chosen.isEmpty() ? QString() : chosen.first();
    }
};

QtDialogs& qtDialogs() {
    static QtDialogs dialogs;
    return dialogs;
}

Dialogs::Backend*& installed() {
    static Dialogs::Backend* backend = nullptr;
    return backend;
}

}  // namespace

void Dialogs::MsgBox(const QString& text, QWidget* parent) {
    DialogRequest r;
    r.kind = DialogRequest::Kind::Message;
    r.message = text;
    Run(r, parent);
}

QString Dialogs::SelectFolder(const QString& actionCaption, const QString& initialDirectory,
                              QWidget* parent) {
    DialogRequest r;
    r.kind = DialogRequest::Kind::SelectFolder;
    r.actionCaption = actionCaption;
    r.initialDirectory = initialDirectory;
    return Run(r, parent);
}

QString Dialogs::Run(const DialogRequest& request, QWidget* parent) {
    return CurrentBackend()->Run(request, parent);
}

void Dialogs::SetBackend(Backend* backend) { installed() = backend; }

Dialogs::Backend* Dialogs::CurrentBackend() {
    return installed() ? installed() : &qtDialogs();
}
