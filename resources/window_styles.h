#pragma once
/* Window, dialog and control styles of the dialog templates, with the values of the Windows
   headers, which the resource compiler does not have. */

/* Window styles */
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_VSCROLL 0x00200000L
#define WS_SYSMENU 0x00080000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L

/* Dialog styles */
#define DS_MODALFRAME 0x0080L
#define DS_SETFONT 0x0040L
#define DS_NOFAILCREATE 0x0010L
#define DS_FIXEDSYS 0x0008L
#define DS_CONTROL 0x0400L

/* Button styles */
#define BS_PUSHBUTTON 0x0000L
#define BS_DEFPUSHBUTTON 0x0001L
#define BS_AUTOCHECKBOX 0x0003L
#define BS_GROUPBOX 0x0007L
#define BS_AUTORADIOBUTTON 0x0009L

/* Edit styles */
#define ES_MULTILINE 0x0004L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_READONLY 0x0800L

/* Static styles */
#define SS_LEFT 0x0000L
#define SS_CENTER 0x0001L
#define SS_RIGHT 0x0002L
#define SS_ICON 0x0003L
#define SS_WHITERECT 0x0006L
#define SS_BITMAP 0x000EL
#define SS_ETCHEDHORZ 0x0010L
#define SS_NOPREFIX 0x0080L
#define SS_SUNKEN 0x1000L

/* Combo box styles */
#define CBS_DROPDOWNLIST 0x0003L

/* Font of the templates */
#define FW_NORMAL 400
#define DEFAULT_CHARSET 1

/* The predefined control classes by ordinal, as Windows stores them in a template; the resource
   compiler would otherwise write their names. */
#define CLASS_BUTTON 0x0080
#define CLASS_EDIT 0x0081
#define CLASS_STATIC 0x0082
