#include "gui/common/WindowPlacement.h"

#include "core/app/CPrivateProfile.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace ormavex::gui {

namespace {

constexpr double kTwipsPerInch = 1440.0;
const char* const kRefitterName = "ormavexPlacementRefit";

const QScreen* ScreenOf(const QWidget& window) {
    const QScreen* screen = window.screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

bool FrameKnown(const QWidget& window) {
    return window.testAttribute(Qt::WA_WState_Created) &&
           window.frameGeometry() != window.geometry();
}

QMargins MarginsOf(const QWidget& window) {
    const QRect f = window.frameGeometry();
    const QRect g = window.geometry();
    // Scaled, a border of an odd number of device pixels is rounded down to
    // logical ones: one more on the right and below keeps it on the screen.
    const QScreen* screen = ScreenOf(window);
    const int rounding = screen != nullptr && screen->devicePixelRatio() > 1.0 ? 1 : 0;
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right() + rounding,
            f.bottom() - g.bottom() + rounding};
}

// The smallest frame the window can be shrunk to.
QSize MinimumFrame(const QWidget& window, const QMargins& m) {
    QSize least = window.minimumSize();
    if (const QSize hint = window.minimumSizeHint(); hint.isValid()) {
        least = least.expandedTo(hint);
    }
    return least.grownBy(m);
}

// Brings the frame wholly onto the available area of the screen it lies on
// (shrinking the window when it is larger) and puts it there. Returns the
// frame's top left corner.
QPoint FitOnScreen(QWidget& window, const QRect& frame, const QMargins& margins) {
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen == nullptr) {
        screen = ScreenOf(window);
    }
    if (screen == nullptr) {
        return frame.topLeft();
    }
    const QRect fitted =
        FitFrame(frame, screen->availableGeometry(), MinimumFrame(window, margins));
    const QSize client = fitted.size().shrunkBy(margins);
    if (client != window.size()) {
        window.resize(client);
    }
    if (FrameKnown(window)) {
        if (fitted.topLeft() != window.frameGeometry().topLeft()) {
            window.move(fitted.topLeft()); // Qt moves the client by the frame
        }
    } else if (!window.testAttribute(Qt::WA_WState_Created)) {
        window.move(fitted.topLeft()); // taken as the frame's place when shown
    } else {
        // Shown but not framed yet: Qt would take the place as the client's.
        window.move(fitted.topLeft() + QPoint(margins.left(), margins.top()));
    }
    return fitted.topLeft();
}

// Applies the rule once more as soon as the window manager has framed the
// window, with the real frame: the estimated one may have been wrong. The
// frame becomes known some time after the window is shown, not always with
// an event of its own: until then it is looked for again every 100 ms, for
// at most 3 s.
class Refitter : public QObject {
public:
    Refitter(QWidget& window, QPoint frameTopLeft)
        : QObject(&window), m_window(window), m_target(frameTopLeft) {
        setObjectName(QString::fromLatin1(kRefitterName));
        window.installEventFilter(this);
        m_timer.setInterval(100);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (++m_tries > 30) {
                finish(false);
            } else {
                tryNow();
            }
        });
        if (window.isVisible()) {
            m_timer.start(); // shown already: no Show event will start it
        }
    }
    void setTarget(QPoint frameTopLeft) { m_target = frameTopLeft; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched == &m_window &&
            (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)) {
            if (!m_timer.isActive()) {
                m_timer.start();
            }
            tryNow();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void tryNow() {
        if (m_window.isVisible() && FrameKnown(m_window)) {
            finish(true);
        }
    }
    void finish(bool fit) {
        m_timer.stop();
        m_window.removeEventFilter(this);
        if (fit && !m_window.isMaximized() && !m_window.isFullScreen()) {
            const QMargins margins = MarginsOf(m_window);
            FitOnScreen(m_window, QRect(m_target, m_window.size().grownBy(margins)), margins);
        }
        deleteLater();
    }

    QWidget& m_window;
    QPoint m_target;
    QTimer m_timer;
    int m_tries = 0;
};

// A window that cannot change its size offers no maximize button: the title
// bar keeps its menu, minimize and close.
void OfferNoMaximizeWhenFixed(QWidget& window) {
    if (window.minimumSize() != window.maximumSize() ||
        (window.windowFlags() & Qt::CustomizeWindowHint) != 0) {
        return;
    }
    const Qt::WindowFlags flags = (window.windowFlags() & Qt::WindowType_Mask) |
                                  Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                  Qt::WindowCloseButtonHint;
    if (window.testAttribute(Qt::WA_WState_Created) && window.windowHandle() != nullptr) {
        window.windowHandle()->setFlags(flags); // not hidden, unlike setWindowFlags
    } else {
        window.setWindowFlags(flags);
    }
}

} // namespace

QRect FitFrame(const QRect& frame, const QRect& area, const QSize& minimum) {
    const int width = std::max(std::min(frame.width(), area.width()), minimum.width());
    const int height = std::max(std::min(frame.height(), area.height()), minimum.height());
    // Past the far edge first, then the near one, so that a frame larger
    // than the area keeps its top left corner on it.
    const int x = std::max(std::min(frame.left(), area.left() + area.width() - width), area.left());
    const int y = std::max(std::min(frame.top(), area.top() + area.height() - height), area.top());
    return {x, y, width, height};
}

int StoredAxis(std::int32_t twips, double dotsPerInch, int screenLength, int availableStart,
               int availableLength, int frameLength, bool recentreBeyond) {
    if (twips < 1 || (recentreBeyond && twips >= screenLength * kTwipsPerInch / dotsPerInch)) {
        return availableStart + std::max(0, (availableLength - frameLength) / 2);
    }
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

QMargins FrameMargins(const QWidget& window) {
    if (FrameKnown(window)) {
        return MarginsOf(window);
    }
    // Every window of the program gets the same decoration: take it from one
    // already framed.
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &window && other->isVisible() && FrameKnown(*other)) {
            return MarginsOf(*other);
        }
    }
    const QString platform = QGuiApplication::platformName();
    if (platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal")) {
        return {}; // no window manager, no frame
    }
    // A usual title bar and border, in the logical pixels of the window.
    const QScreen* screen = ScreenOf(window);
    const double ratio = screen ? std::max(1.0, screen->devicePixelRatio()) : 1.0;
    const int border = static_cast<int>(std::ceil(4 / ratio));
    return {border, static_cast<int>(std::ceil(30 / ratio)), border, border};
}

void PlaceWindow(QWidget& window, TwipsPosition position, bool recentreOffScreen) {
    const QScreen* screen = ScreenOf(window);
    if (!screen) {
        return;
    }
    OfferNoMaximizeWhenFixed(window);
    const QRect whole = screen->geometry();
    const QRect available = screen->availableGeometry();
    const QMargins margins = FrameMargins(window);
    const QSize frameSize = window.size().grownBy(margins);
    const int top = StoredAxis(position.top, screen->logicalDotsPerInchY(), whole.height(),
                               available.top() - whole.top(), available.height(),
                               frameSize.height(), recentreOffScreen);
    const int left = StoredAxis(position.left, screen->logicalDotsPerInchX(), whole.width(),
                                available.left() - whole.left(), available.width(),
                                frameSize.width(), recentreOffScreen);
    const QPoint placed =
        FitOnScreen(window, QRect(whole.topLeft() + QPoint(left, top), frameSize), margins);
    if (FrameKnown(window) || margins == QMargins()) {
        return; // nothing left to estimate
    }
    // Only a Refitter carries that name.
    if (auto* refitter = window.findChild<QObject*>(QString::fromLatin1(kRefitterName),
                                                    Qt::FindDirectChildrenOnly)) {
        static_cast<Refitter*>(refitter)->setTarget(placed);
    } else {
        new Refitter(window, placed);
    }
}

TwipsPosition WindowPosition(const QWidget& window) {
    const QScreen* screen = ScreenOf(window);
    if (!screen) {
        return {};
    }
    const QRect area = screen->geometry();
    const QPoint p = window.frameGeometry().topLeft() - area.topLeft();
    return {static_cast<std::int32_t>(
                std::lround(p.y() * kTwipsPerInch / screen->logicalDotsPerInchY())),
            static_cast<std::int32_t>(
                std::lround(p.x() * kTwipsPerInch / screen->logicalDotsPerInchX()))};
}

void RestoreWindowPosition(QWidget& window, const std::string& settingsFile,
                           const std::string& section, bool recentreOffScreen) {
    const TwipsPosition stored{CPrivateProfile::GetValueLong(settingsFile, section, "Top"),
                               CPrivateProfile::GetValueLong(settingsFile, section, "Left")};
    PlaceWindow(window, stored, recentreOffScreen);
}

void SaveWindowPosition(const QWidget& window, const std::string& settingsFile,
                        const std::string& section) {
    const TwipsPosition p = WindowPosition(window);
    CPrivateProfile::SetValueString(settingsFile, section, "Top", std::to_string(p.top));
    CPrivateProfile::SetValueString(settingsFile, section, "Left", std::to_string(p.left));
}

} // namespace ormavex::gui
