#include "gui/common/ApplicationSetUp.h"

#include "gui/common/Widgets.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

namespace ormavex::gui {

void UseJapaneseLocale() {
    // LC_ALL would win over the categories set below: what it names stays in
    // force for the character set and the messages only.
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty()) {
        for (const char* name : {"LC_CTYPE", "LC_MESSAGES", "LC_COLLATE"}) {
            if (qEnvironmentVariableIsEmpty(name)) {
                qputenv(name, all);
            }
        }
        qunsetenv("LC_ALL");
    }
    for (const char* name : {"LC_NUMERIC", "LC_TIME", "LC_MONETARY", "LC_MEASUREMENT"}) {
        qputenv(name, "ja_JP.UTF-8");
    }
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

void SetUpJapaneseUi(QApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
    QFont font = QApplication::font();
    QStringList families = font.families();
    if (families.isEmpty()) {
        families << font.family();
    }
    if (!families.contains(QStringLiteral("IPAGothic"))) {
        families << QStringLiteral("IPAGothic");
    }
    font.setFamilies(families);
    QApplication::setFont(font);
}

void ShowFailureBox(const std::string& text) {
    const QString platform = QGuiApplication::platformName();
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr &&
        platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal")) {
        QMessageBox::critical(nullptr, QStringLiteral("Ormavex"), Q(text));
    }
}

} // namespace ormavex::gui
