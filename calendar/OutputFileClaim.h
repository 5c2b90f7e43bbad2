// OutputFileClaim  A calendar file that a run is writing, claimed for as long as the run holds
// it, so that no run of another window truncates and writes the same file meanwhile.
#pragma once

#include <QString>
#include <memory>

class OutputFileClaim {
  public:
    // Whether a run holds the file `path` names: the same file under any spelling of its path
    // (a symbolic link, "..", a doubled slash) counts.
    static bool IsClaimed(const QString& path);
    // Claims the file `path` names, which must exist (the run has just created it); nullptr
    // when a run holds it already. The claim ends with the object.
    static std::unique_ptr<OutputFileClaim> Take(const QString& path);

    ~OutputFileClaim();
    OutputFileClaim(const OutputFileClaim&) = delete;
    OutputFileClaim& operator=(const OutputFileClaim&) = delete;

  private:
    explicit OutputFileClaim(const QString& key) : key(key) {}
    // The canonical path of an existing file, else the cleaned absolute path.
    static QString KeyOf(const QString& path);

    QString key;
};
