#pragma once

// Qt's own texts (a text area's "Copy" and "Select All", the buttons of its standard dialogs) in
// Japanese, like the rest of the game, whatever the locale. Needs the QApplication; the texts
// stay English when Qt's translation is not installed. True when it was loaded.
bool UseJapaneseQtTexts();
