#include "gui/help/HelpKey.h"

#include "core/app/ProgramFolder.h"
#include "gui/common/Widgets.h"
#include "gui/help/HelpWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace ormavex::gui {

namespace {

struct WindowPage {
    const char* objectName;
    const char* page;
};

// The page of each window, by the object name the window gives itself.
const WindowPage kWindowPages[] = {
    {"frmMenuMain", "main-window.html"},  {"frmInpJyokenSS", "case-editor.html"},
    {"frmInpJyoken", "case-dialog.html"}, {"frmMenuPrint", "print-menu.html"},
    {"frmInpRenban", "numbering.html"},   {"frmAbout", "main-window.html#about"},
    {"PreviewWindow", "preview.html"},    {"HelpWindow", "help-window.html"},
    {"frmResults", "results.html"},       {"frmRefusedValues", "case-editor.html#paste"},
};

// The manual's folder: the one beside the program until another is set.
QString& Folder() {
    static QString folder;
    if (folder.isEmpty()) {
        folder = ManualFolder(ProgramFolder());
    }
    return folder;
}

QPointer<HelpWindow>& Window() {
    static QPointer<HelpWindow> window;
    return window;
}

// Gives the help window to `owner` (a modal dialog, or nobody), keeping its
// place and whether it is shown: a window that belongs to the open modal
// dialog takes input beside it.
void Attach(HelpWindow& help, QWidget* owner) {
    if (help.parentWidget() == owner) {
        return;
    }
    const bool shown = help.isVisible();
    // The frame's place, as the window manager keeps it.
    const QPoint place = help.pos();
    const QSize size = help.size();
    help.setParent(owner, Qt::Window);
    help.resize(size);
    help.move(place);
    if (shown) {
        help.show();
        // A new native window learns its frame from the window manager only
        // after it is mapped; until then a place may be taken for the
        // client area's. Once the frame is known the window goes back to
        // where it was, so that it does not creep.
        QTimer::singleShot(200, &help, [&help, place] {
            if (help.pos() != place) {
                help.move(place);
            }
        });
    }
}

class HelpKeyFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            auto* widget = qobject_cast<QWidget*>(watched);
            if (key->key() == Qt::Key_F1 && !key->isAutoRepeat() && widget != nullptr &&
                (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
                ShowHelp(HelpPageFor(widget));
                return true;
            }
        } else if (event->type() == QEvent::Hide) {
            // The dialog the help window belongs to is going: it moves on to
            // the next modal dialog, or to nobody.
            HelpWindow* help = Window();
            if (help != nullptr && watched == help->parentWidget()) {
                QWidget* next = QApplication::activeModalWidget();
                Attach(*help, next == watched ? nullptr : next);
            }
        }
        return false;
    }
};

} // namespace

QString ManualFolder(const std::string& programFolder) {
    return Q(programFolder) + QStringLiteral("/manual");
}

std::string HelpFile(const QString& page) {
    const QString path = Folder() + QLatin1Char('/') + page;
    return QFileInfo(path).isFile() ? path.toStdString() : std::string();
}

QString HelpPageFor(const QWidget* window) {
    for (const QWidget* w = window ? window->window() : nullptr; w != nullptr;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        const QString name = w->objectName();
        for (const WindowPage& p : kWindowPages) {
            if (name == QLatin1String(p.objectName)) {
                return QString::fromLatin1(p.page);
            }
        }
        if (qobject_cast<const QFileDialog*>(w) != nullptr) {
            return QStringLiteral("main-window.html#file-dialog");
        }
    }
    return QStringLiteral("index.html");
}

HelpWindow* ShowHelp(const QString& page) {
    QWidget* owner = QApplication::activeModalWidget();
    QPointer<HelpWindow>& help = Window();
    if (help == nullptr || help->manualFolder() != Folder()) {
        if (help != nullptr) {
            help->close();
        }
        help = new HelpWindow(Folder(), owner);
        help->setAttribute(Qt::WA_DeleteOnClose);
        // A new help window opens in the middle of the screen, wholly on it.
        if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
            const QRect area = screen->availableGeometry();
            help->resize(help->size().boundedTo(area.size() - QSize(16, 48)));
            help->move(area.center() - QPoint(help->width() / 2, help->height() / 2));
        }
    } else if (owner != help) {
        Attach(*help, owner);
    }
    help->showPage(page);
    help->show();
    help->raise();
    help->activateWindow();
    return help;
}

HelpWindow* CurrentHelpWindow() { return Window(); }

void InstallHelpKey(QCoreApplication& app, const std::string& programFolder) {
    Folder() = ManualFolder(programFolder);
    const QString name = QStringLiteral("HelpKeyFilter");
    if (app.findChild<QObject*>(name, Qt::FindDirectChildrenOnly) != nullptr) {
        return;
    }
    auto* filter = Named<HelpKeyFilter>(name, &app);
    app.installEventFilter(filter);
}

void ConnectHelpButton(QPushButton* button, QWidget* window) {
    QObject::connect(button, &QPushButton::clicked, window, [window] {
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(window, &f1);
    });
}

} // namespace ormavex::gui
