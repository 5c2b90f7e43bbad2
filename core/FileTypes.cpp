// FileTypes  The system's three document types.
#include "core/FileTypes.h"

#include "platform/Text.h"

namespace FileTypes {
namespace {

struct Types {
    FileType text{QStringLiteral("text"), QString(), QStringLiteral("TEXT"),
                  QStringLiteral("R*ch")};
    FileType quorvex{QStringLiteral("quorvex"), QStringLiteral(".quorvex"), QStringLiteral("qvrx"),
                     QStringLiteral("qvrx")};
    FileType tideHTML{QStringLiteral("tidehtml"), QStringLiteral(".tidehtml"),
                      QStringLiteral("thtm"), QStringLiteral("qvrx")};
};

const Types& types() {
    static const Types t;
    return t;
}

QString description(const FileType& type) {
    if (&type == &types().quorvex) return QStringLiteral("Quorvex settings");
    if (&type == &types().tideHTML) return QStringLiteral("Tide generator settings");
    return QStringLiteral("Text files");
}

}  // namespace

void Initialize() { types(); }

const FileType& Text() { return types().text; }
const FileType& Quorvex() { return types().quorvex; }
const FileType& TideHTML() { return types().tideHTML; }

const FileType* ByName(const QString& name) {
    for (const FileType* t : {&types().text, &types().quorvex, &types().tideHTML})
        if (Text::Same(t->Name, name)) return t;
    return nullptr;
}

QString NameFilter(const QString& typeNames) {
    QStringList filters;
    for (const QString& name : typeNames.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const FileType* type = ByName(name.trimmed());
        if (!type) continue;
        const QString pattern =
            type->Extensions.isEmpty() ? QStringLiteral("*") : QLatin1Char('*') + type->Extensions;
        const QString filter =
            description(*type) + QStringLiteral(" (") + pattern + QLatin1Char(')');
        if (!filters.contains(filter)) filters.append(filter);
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace FileTypes
