#pragma once

#include <QString>
#include <array>

class BrowserSession;

// What the pop-up menu offers, worked out from the session just before the
// menu opens, so that only commands that make sense now can be chosen.
struct MenuState {
    QString thumbnailsText;  // "サムネイルの表示", or "継続" while a drawing shows its bar
    bool thumbnailsEnabled = false;
    bool allEnabled = false;
    bool clearEnabled = false;
    bool nearMissesEnabled = false;
    bool editorEnabled = false;
    // The click-sound and thumbnail-mode menus; only while they are enabled
    // are their check marks read again from the settings file.
    bool settingsMenusEnabled = false;
    std::array<QString, 8> historyCaptions;
    std::array<bool, 8> historyEnabled{};
};

namespace MenuRules {

// folderWritable: whether the application folder can take the editor's changes.
MenuState prepare(const BrowserSession& session, bool folderWritable);

}  // namespace MenuRules
