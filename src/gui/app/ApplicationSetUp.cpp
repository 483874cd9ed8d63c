#include "ApplicationSetUp.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ormavex::gui {

void SetUpJapaneseUi(QApplication& app) {
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
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

} // namespace ormavex::gui
