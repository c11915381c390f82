#pragma once
// Opening one of the secondary windows the two ways of the command table:
// centred over the main window with the main window taking no input until it
// closes, or shown (centred or where it last stood) with the main window
// usable. Blocking uses window modality with a plain show(), so closing the
// window in any way gives the main window back; nothing waits in a nested loop.

class QWidget;

enum class WindowPlacement { Centred, WhereItStood };
enum class MainWindowInput { Blocked, Usable };

// `window` is a top-level child window of `mainWindow`.
void ShowSecondaryWindow(QWidget& mainWindow, QWidget& window, WindowPlacement placement,
                         MainWindowInput input);
