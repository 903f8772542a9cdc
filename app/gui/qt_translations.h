// Qt's own texts in Japanese: the buttons of message boxes ("はい", "いいえ", "キャンセル"), the file
// dialogs and the editors' context menus come from Qt's translations, not from this program.
#pragma once

class QCoreApplication;

namespace kubrix::gui {

// Loads Qt's Japanese translations ("qtbase_ja" in Qt's translations folder) into the application,
// whatever the machine's locale: the program speaks Japanese everywhere. False, with a note on
// standard error, when they are not installed (Qt then keeps its English texts).
bool installQtTranslations(QCoreApplication& app);

}  // namespace kubrix::gui
