// XTideFixture  A temporary application folder whose Quorvex.app package holds an XTide folder
// with the stand-in `tide`, a placeholder harmonics database and the stand-in's data.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Lays out, inside a fresh temporary folder:
//   <appFolder>/Quorvex.app/Contents/Resources/tide            a copy of the stand-in
//   <appFolder>/Quorvex.app/Contents/Resources/harmonics.tcd   placeholder bytes
//   <appFolder>/Quorvex.app/Contents/Resources/standin-data    link to the stand-in's data
// The layout is removed, the failure switch cleared and the application folder restored when
// the fixture goes out of scope.
class XTideFixture {
  public:
    // `dataFolder`: the stations and months the stand-in serves (the unit-test set by default).
    // `appFolderName`: the last part of appFolder(); it holds a blank by default, so every
    // command line built from it must quote its paths.
    explicit XTideFixture(const QString& dataFolder = defaultDataFolder(),
                          const QString& appFolderName = QStringLiteral("Quorvex Apps"));
    ~XTideFixture();
    XTideFixture(const XTideFixture&) = delete;
    XTideFixture& operator=(const XTideFixture&) = delete;

    bool isValid() const { return valid; }  // false when the layout could not be made

    QString appFolder() const;    // the folder holding the package
    QString xtideFolder() const;  // <appFolder>/Quorvex.app/Contents/Resources
    QString tidePath() const;
    QString harmonicsPath() const;

    // Folders::SetApplicationFolderForTesting(appFolder()), undone by the destructor.
    void useAsApplicationFolder();

    // Sets or clears QUORVEX_STANDIN_FAIL for every stand-in started afterwards by this process
    // ("exit:3", "garbage", "sleep:0.5", "empty", "nomarker", "crlf", "cr", "harmonics",
    // "flood", "pad:50"; comma-separated to combine).
    void setFailure(const QByteArray& switches);
    void clearFailure();

    bool removeTide();
    bool makeTideNotExecutable();
    bool removeHarmonics();

    static QString defaultDataFolder();  // tests/fixtures/xtide
    static QString sampleDataFolder();   // tools/sample: two stations, 2026-2027

  private:
    QTemporaryDir dir;
    QString root;
    bool valid = false;
    bool appFolderSet = false;
};
