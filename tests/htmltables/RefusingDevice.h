// RefusingDevice  A write-only device that takes a given number of bytes and refuses the rest,
// as a full disk would.
#pragma once

#include <QByteArray>
#include <QIODevice>

class RefusingDevice : public QIODevice {
  public:
    explicit RefusingDevice(qint64 capacity) : capacity(capacity) {
        open(QIODevice::WriteOnly);
        setErrorString(QStringLiteral("No space left on device"));
    }
    QByteArray written;

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (written.size() + size > capacity) return -1;
        written.append(data, size);
        return size;
    }

  private:
    qint64 capacity;
};
