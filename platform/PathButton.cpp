// PathButton  A push button that shows a path as its caption, "&" included.
#include "platform/PathButton.h"

#include <QKeySequence>
#include <QStyleOptionButton>
#include <QStylePainter>

PathButton::PathButton(QWidget* parent) : QPushButton(parent) {}

void PathButton::setText(const QString& text) {
    QPushButton::setText(text);
    setShortcut(QKeySequence());
}

void PathButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The style reads "&&" as one "&" shown and a lone "&" as a shortcut mark.
    option.text.replace(QLatin1Char('&'), QLatin1String("&&"));
    painter.drawControl(QStyle::CE_PushButton, option);
}
