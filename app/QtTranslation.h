#pragma once

#include <QString>

class QTranslator;

// Qt's own texts in Japanese: the file dialog, the standard buttons of its
// boxes and the context menu of every edit field (元に戻す, 切り取り, ...).
// They come from Qt's translation qtbase_ja (Debian: qt6-translations-l10n).
class QtTranslation {
public:
    static const char* const kName;  // "qtbase_ja"

    // Loads qtbase_ja from folder into translator and installs it in the
    // application. False, with nothing changed, when the file is missing or
    // unreadable: Qt then keeps its English texts, and the program runs.
    static bool install(QTranslator& translator, const QString& folder);
    // The same from Qt's own translations folder.
    static bool install(QTranslator& translator);
};
