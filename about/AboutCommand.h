#pragma once
// The About command of the main dialog (its "About" button and its
// system-menu item): opens a new About window owned by the dialog. Each
// call makes an independent window; the window deletes itself when closed.
class CWnd;

void ShowAboutWindow(CWnd* dialog);
