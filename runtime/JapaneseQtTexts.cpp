#include "JapaneseQtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <memory>

bool UseJapaneseQtTexts() {
    QCoreApplication* app = QCoreApplication::instance();
    auto translator = std::make_unique<QTranslator>();
    if (app == nullptr || !translator->load(QLocale(QLocale::Japanese), "qtbase", "_",
                                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    translator->setParent(app);  // lives as long as the application, which deletes it
    return QCoreApplication::installTranslator(translator.release());
}
