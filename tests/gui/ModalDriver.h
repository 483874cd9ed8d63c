#pragma once
// Driving the modal dialogs a window opens, in a way that cannot hang a test:
// whatever the driving step does (an assertion that returns early included),
// every modal dialog still open afterwards is closed, and a watchdog closes
// any dialog a test leaves waiting for a user.

#include <QApplication>
#include <QDialog>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>

#include <gtest/gtest.h>

namespace ormavex::test {

/// Closes every modal window still open (innermost first); returns how many.
inline int CloseModalWindows() {
    int closed = 0;
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* w = QApplication::activeModalWidget();
        if (w == nullptr) {
            break;
        }
        if (auto* d = qobject_cast<QDialog*>(w)) {
            d->done(QDialog::Rejected);
        } else {
            w->close();
        }
        ++closed;
    }
    return closed;
}

/// Runs `drive` on the modal window the next step opens (nullptr when none is
/// open), then closes whatever modal window is still open, so that the step
/// returns even when `drive` failed half way.
inline void OnNextModal(const QObject* context, std::function<void(QWidget*)> drive) {
    QTimer::singleShot(0, context, [drive = std::move(drive)] {
        drive(QApplication::activeModalWidget());
        CloseModalWindows();
    });
}
inline void OnNextModal(std::function<void(QWidget*)> drive) {
    OnNextModal(qApp, std::move(drive));
}

/// The watchdog the test main installs: a test still running after
/// `seconds` fails, and the modal windows it waits on are closed.
class ModalWatchdog : public ::testing::EmptyTestEventListener {
public:
    explicit ModalWatchdog(int seconds) { m_timer.setInterval(seconds * 1000); }
    void OnTestStart(const ::testing::TestInfo&) override {
        m_timer.callOnTimeout([] {
            if (CloseModalWindows() > 0) {
                ADD_FAILURE() << "a modal window was left open: closed by the watchdog";
            }
        });
        m_timer.start();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        m_timer.stop();
        m_timer.disconnect();
    }

private:
    QTimer m_timer;
};

} // namespace ormavex::test
