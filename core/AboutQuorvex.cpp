// AboutQuorvex  The about window.
#include "core/AboutQuorvex.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QUrl>

namespace {

// Text sizes are those of a 72-dpi layout, one pixel a point, as in the other windows.
QLabel* staticText(QWidget* parent, const char* name, const QRect& frame, int pointSize,
                   bool multiline, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(frame);
    label->setAlignment(multiline ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignCenter);
    label->setWordWrap(multiline);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPixelSize(pointSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

}  // namespace

AboutQuorvex::AboutQuorvex() {
    setAttribute(Qt::WA_DeleteOnClose);
    Layout();
    CreateControls();
    AddMenuHandlers();
    show();
}

AboutQuorvex::~AboutQuorvex() = default;

void AboutQuorvex::Layout() {
    setObjectName(QStringLiteral("AboutQuorvex"));
    setWindowTitle(QStringLiteral("About Quorvex"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    auto* content = new QWidget(this);
    content->setFixedSize(301, 122);
    setCentralWidget(content);
    // Not resizable: the window keeps the size of its menu bar and content.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutQuorvex::CreateControls() {
    QWidget* content = centralWidget();
    StaticText1 = staticText(content, "StaticText1", QRect(10, 6, 278, 20), 12, false,
                             QStringLiteral("Quorvex - Tides for iCal 10"));
    VostraneURL = staticText(content, "VostraneURL", QRect(10, 30, 280, 20), 10, false,
                             QStringLiteral("quorvex.example.org"));
    DrelmontURL = staticText(content, "DrelmontURL", QRect(10, 57, 280, 40), 10, true,
                             QStringLiteral("flaterco.com/xtide - Home of XTide\n"
                                            "The Tide Predictor"));
    for (QLabel* link : {VostraneURL, DrelmontURL}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }
}

void AboutQuorvex::AddMenuHandlers() {
    AddMenuHandler(QStringLiteral("FileClose"), [this] { return FileClose_Action(); });
}

void AboutQuorvex::Event_EnableMenuItems() { EnableMenuItem(QStringLiteral("FileClose")); }

bool AboutQuorvex::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (watched == VostraneURL) return VostraneURL_MouseDown(at.x(), at.y());
        if (watched == DrelmontURL) return DrelmontURL_MouseDown(at.x(), at.y());
    }
    return MenuWindow::eventFilter(watched, event);
}

bool AboutQuorvex::VostraneURL_MouseDown(int, int) {
    QDesktopServices::openUrl(QUrl(MakerURL));
    return false;
}

bool AboutQuorvex::DrelmontURL_MouseDown(int, int) {
    QDesktopServices::openUrl(QUrl(XTideURL));
    return false;
}

bool AboutQuorvex::FileClose_Action() {
    close();
    return true;
}
