// ReaderProperties  What must hold for any bytes that reach a reader of outside input: tide's
// location listing and monthly output, the location cache and generator settings documents.
// The libFuzzer targets (tools/fuzz/run) and the suite's replay of their corpora check the same.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ReaderProperties {

// "listing", "tide-output", "location-cache" and "generator-settings"; a target's corpus lives in
// tests/fixtures/<target>-corpus.
QStringList Targets();

// Makes the local time zone of the process one with daylight saving time (central Europe), whose
// spring gap falls on days that tide's output for other zones holds: what the writers make of a
// clock time must not depend on the user's zone. Called once, before Check.
void UseZoneWithDaylightSaving();

// Runs the reader of `target` on `bytes` and checks its properties. Returns "" when they hold,
// else what failed. Needs a QCoreApplication: the listing parse yields to the event loop.
QString Check(const QString& target, const QByteArray& bytes);

}  // namespace ReaderProperties
