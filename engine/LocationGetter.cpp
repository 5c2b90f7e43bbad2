// LocationGetter  The background location listing of tide and its parse.
#include "engine/LocationGetter.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTemporaryDir>

#include "engine/LocationName.h"
#include "engine/TideCommand.h"
#include "platform/ChildProcess.h"
#include "platform/Folders.h"
#include "platform/ShellWord.h"
#include "platform/YieldPacer.h"

namespace {

const QString ListFileName = QStringLiteral("tide locations.txt");
const QByteArray Marker = QByteArrayLiteral("Location list generated");

QByteArray TrimBlanks(const QByteArray& bytes) {
    int begin = 0;
    int end = bytes.size();
    while (begin < end && bytes[begin] == ' ') ++begin;
    while (end > begin && bytes[end - 1] == ' ') --end;
    return bytes.mid(begin, end - begin);
}

// A new folder of this user's alone inside `parent`; nullptr when none can be made there.
std::unique_ptr<QTemporaryDir> PrivateFolderIn(const QString& parent) {
    if (parent.isEmpty()) return nullptr;
    auto folder =
        std::make_unique<QTemporaryDir>(Folders::Child(parent, QStringLiteral("quorvex-XXXXXX")));
    if (!folder->isValid()) return nullptr;
    return folder;
}

}  // namespace

LocationGetter::LocationGetter(QObject* parent) : QObject(parent), process(new QProcess(this)) {
    process->setProcessChannelMode(QProcess::MergedChannels);
    // Its own process group, so that ending the listing also ends the tide that bash started.
    // A listing that passes the bound ends its tide there (the whole real listing is some
    // 440 KB).
    ChildProcess::UseOwnProcessGroup(*process, kListingLimit);
    connect(process, &QProcess::readyRead, this, &LocationGetter::Event_DataAvailable);
    // Queued: the parse yields and the owner may destroy this object meanwhile, which must not
    // happen inside QProcess's own signal emission.
    connect(process, &QProcess::finished, this, &LocationGetter::Event_Completed,
            Qt::QueuedConnection);
    connect(
        process, &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) Event_Completed(-1, QProcess::CrashExit);
        },
        Qt::QueuedConnection);
}

LocationGetter::~LocationGetter() {
    process->disconnect(this);
    ChildProcess::Stop(*process);
    // listFolder goes with the members, after the child that writes into it has ended.
}

QString LocationGetter::TemporaryFolder() const { return Folders::Temporary(); }
QString LocationGetter::DocumentsFolder() const { return Folders::Documents(); }

QString LocationGetter::LocationListCommand(const QString& xtideFolder, const QString& outputFile) {
    return TideCommand::EnterFolder(xtideFolder) +
           QStringLiteral("; export HFILE_PATH=./harmonics.tcd;./tide -l") +
           ShellWord::ShellPath(Folders::Child(xtideFolder, QStringLiteral("harmonics.tcd"))) +
           QStringLiteral(" -ml") + TideCommand::SettingSwitches() +
           // The text width of the listing, whose names the parse takes from the first 52 bytes
           // of a line: at tide's default of 79 columns a name is cut to 51 and a blank follows.
           QStringLiteral(" -tw 79 >&") + ShellWord::ShellPath(outputFile);
}

void LocationGetter::GetLocations(const QString& xtideFolder) {
    std::unique_ptr<QTemporaryDir> folder = PrivateFolderIn(TemporaryFolder());
    if (!folder) folder = PrivateFolderIn(DocumentsFolder());
    if (!folder) {
        emit Error(QStringLiteral("Unable to create a temporary output file"));
        return;
    }
    allText.clear();
    // One listing at a time: a new one ends the old, whose events then never come (the stale end
    // of the old process finds the new one running and is ignored).
    if (running) ChildProcess::Stop(*process);
    listFolder = std::move(folder);
    outputFile = Folders::Child(listFolder->path(), ListFileName);
    running = true;
    process->start(QStringLiteral("/bin/bash"),
                   {QStringLiteral("-c"), LocationListCommand(xtideFolder, outputFile)});
    process->closeWriteChannel();
}

bool LocationGetter::IsRunning() const { return running; }

void LocationGetter::Event_DataAvailable() {
    allText += QString::fromLocal8Bit(process->readAll());
}

void LocationGetter::Event_Completed(int exitCode, QProcess::ExitStatus status) {
    if (!running || process->state() != QProcess::NotRunning) return;
    running = false;
    allText += QString::fromLocal8Bit(process->readAll());
    // A shell that did not start or was killed has no exit status of its own: not a success.
    const int errorCode = status == QProcess::NormalExit ? exitCode : -1;

    QPointer<LocationGetter> self(this);
    QByteArray text;
    if (!outputFile.isEmpty() && QFileInfo(outputFile).size() >= kListingLimit) {
        listFolder.reset();
        emit Error(QStringLiteral("Unable to get the location list: tide printed more than %1 "
                                  "MiB and was stopped")
                       .arg(kListingLimit / (1024 * 1024)));
        if (self) emit HaveLocations();
        return;
    }
    if (!outputFile.isEmpty()) {
        QFile file(outputFile);
        bool ok = file.open(QIODevice::ReadOnly);
        if (ok) {
            text = file.readAll();
            ok = file.error() == QFileDevice::NoError;
        }
        file.close();
        listFolder.reset();
        if (!ok) {
            emit Error(QStringLiteral("There was no location list generated"));
            return;
        }
    }
    if (errorCode != 0) {
        emit Error(QStringLiteral("Unable to get the location list"));
        if (self) emit HaveLocations();
        return;
    }
    Parse(text);
    if (self) emit HaveLocations();
}

QStringList LocationGetter::Parse(const QByteArray& listing) {
    QPointer<LocationGetter> self(this);
    emit Progress(QStringLiteral("Parsing location list started"));
    if (!self) return {};

    const char lineEnd = listing.contains('\r') ? '\r' : '\n';
    locations.clear();
    YieldPacer pacer;
    bool started = false;
    qsizetype position = 0;
    for (;;) {
        const qsizetype end = listing.indexOf(lineEnd, position);
        if (end < 0) break;  // bytes after the last line end are not a line
        const QByteArray line = listing.mid(position, end - position);
        position = end + 1;
        // A CR LF pair ends one line: its LF is not the first byte of the next.
        if (lineEnd == '\r' && position < listing.size() && listing[position] == '\n') ++position;

        if (line.contains(Marker)) {
            started = true;
        } else if (started && !line.isEmpty()) {
            // A line cut at carriage returns may still hold a line feed; it ends the name, which
            // goes into tide command lines and one line of the location cache.
            QByteArray field = line.left(NameBytes);
            if (const qsizetype feed = field.indexOf('\n'); feed >= 0) field.truncate(feed);
            const QString name = LocationName::FromListing(TrimBlanks(field));
            if (locations.isEmpty()) {
                emit Progress(QStringLiteral("0 locations parsed"));
                if (!self) return {};
            }
            locations.append(name);
        }
        pacer.Step();
        if (!self) return {};
    }
    emit Progress(QString::number(locations.size()) + QStringLiteral(" locations found"));
    if (!self) return {};
    return locations;
}
