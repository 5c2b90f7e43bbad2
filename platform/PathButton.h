// PathButton  A push button whose caption is a file or folder path, shown exactly as written: an
// "&" is a character of the path, not the mark of a keyboard shortcut.
#pragma once

#include <QPushButton>
#include <QString>

class PathButton : public QPushButton {
    Q_OBJECT
  public:
    explicit PathButton(QWidget* parent = nullptr);

    // Sets the caption, which text() gives back unchanged. Unlike QPushButton::setText it takes
    // no "&" as a shortcut mark: the button gets no Alt shortcut from its caption.
    void setText(const QString& text);

  protected:
    // Draws the caption with every "&" shown.
    void paintEvent(QPaintEvent* event) override;
};
