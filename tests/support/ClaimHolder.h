// ClaimHolder  Another Quorvex process claiming a file or folder as its run would (the
// claim_holder program): it holds a claim it takes until Release() or its destruction.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

class ClaimHolder {
  public:
    enum class Kind { File, Folder };

    // Starts the process and waits for its answer: "taken", "held" or "failed" (or "" when it
    // gave none).
    ClaimHolder(Kind kind, const QString& path) {
        process.start(
            QStringLiteral(QUORVEX_CLAIM_HOLDER),
            {kind == Kind::File ? QStringLiteral("file") : QStringLiteral("folder"), path});
        if (process.waitForStarted(5000) && process.waitForReadyRead(5000))
            answer = process.readLine().trimmed();
    }
    ~ClaimHolder() { Release(); }
    ClaimHolder(const ClaimHolder&) = delete;
    ClaimHolder& operator=(const ClaimHolder&) = delete;

    QByteArray Answer() const { return answer; }

    // Ends the process, and with it a claim it holds.
    void Release() {
        if (process.state() == QProcess::NotRunning) return;
        process.closeWriteChannel();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

  private:
    QProcess process;
    QByteArray answer;
};
