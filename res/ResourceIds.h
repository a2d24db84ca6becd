/* Ids of the dialog, its controls, the icon and the system-menu item. Read
   by the resource compiler and by the C++ front end, so plain #defines. */
#pragma once

#define IDD_TESSALY_DIALOG 102
#define IDR_MAINFRAME 128

#define IDC_ABOUT 16
#define IDC_PRINTER_LIST 1000
#define IDC_DELETE 1001
#define IDC_DELETE_ALL 1002
#define IDC_DELETED_LIST 1004
#define IDC_EXPAND 1005
#define IDC_DELETED_LABEL 1008

/* The system-menu item: the About button's number. Its low four bits are
   clear, as Windows requires of system-menu commands. */
#define IDM_ABOUTBOX 0x0010
