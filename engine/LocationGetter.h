// LocationGetter  Lists the locations tide knows: runs the listing command in the background into
// "tide locations.txt", then cuts one name from each line after the marker line.
//
// Each listing writes its file inside a fresh folder of its own (readable by the user only) under
// the temporary folder, else under the documents folder, and removes that folder once the list
// has been read: listings of other users or of other windows never share the file, and nothing
// planted under its name in a shared folder is followed.
//
// Events, in order: Error "Unable to create a temporary output file" (nothing runs); or, once the
// command has ended, Error "There was no location list generated" (the file cannot be read), or
// Error "Unable to get the location list" then HaveLocations (non-zero exit status, also when the
// shell did not start or was killed; `locations` unchanged; the same with the cause added when
// the listing passed kListingLimit and tide was stopped), or the Progress texts of a parse
// then HaveLocations. The owner may destroy this object from any of its handlers or while the
// parse yields: the parse then stops and nothing further is raised.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

class QTemporaryDir;

class LocationGetter : public QObject {
    Q_OBJECT
  public:
    explicit LocationGetter(QObject* parent = nullptr);
    ~LocationGetter() override;  // a running listing is killed; no event follows

    // Starts a listing in `xtideFolder` (an absolute path) and returns at once.
    void GetLocations(const QString& xtideFolder);
    bool IsRunning() const;

    // The listing command for a folder and an output file (both absolute paths), with the
    // TideCommand::SettingSwitches() and tide's default text width, so that no XTide settings
    // of the user move the names out of the columns the parse reads.
    static QString LocationListCommand(const QString& xtideFolder, const QString& outputFile);
    // The names of one listing text (raw bytes), in order, as display texts (LocationName);
    // they also replace `locations`. Raises the Progress events of a parse and offers the event
    // loop a turn after every line (YieldPacer); returns {} at once when this object is
    // destroyed meanwhile.
    QStringList Parse(const QByteArray& listing);

    QString allText;        // what the shell itself printed outside the redirected listing
    QString outputFile;     // the listing file of the last listing (its folder is gone once read)
    QStringList locations;  // names of the last parse

    static constexpr int NameBytes = 52;  // a name is at most the first 52 bytes of its line
    // The most "tide locations.txt" may grow to; tide is stopped there and the listing fails.
    static constexpr qint64 kListingLimit = 64 * 1024 * 1024;

  signals:
    void HaveLocations();
    void Error(const QString& message);
    void Progress(const QString& message);

  protected:
    // The folders that hold the private folder of "tide locations.txt": the temporary folder,
    // else the documents folder; "" when the system gives none.
    virtual QString TemporaryFolder() const;
    virtual QString DocumentsFolder() const;

  private:
    void Event_DataAvailable();
    void Event_Completed(int exitCode, QProcess::ExitStatus status);

    QProcess* process = nullptr;
    std::unique_ptr<QTemporaryDir> listFolder;  // holds outputFile until the list is read
    bool running = false;
};
