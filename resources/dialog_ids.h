#pragma once
/* Ids of the dialog templates, their controls and their pictures, shared by the resource
   scripts and the wizard's code. Several pages use the same id for the control of the same
   role (the status line is 1003 on every page). */

/* Templates */
#define IDD_ABOUT 100
#define IDD_FRAME 102
#define IDD_START_PAGE 132
#define IDD_FOLDER_PAGE 133
#define IDD_SHORTCUT_PAGE 134
#define IDD_INSTALL_PAGE 135
#define IDD_METHOD_PAGE 136
#define IDD_END_PAGE 137

/* Pictures */
#define IDI_APPLICATION_ICON 128
#define IDB_BANNER 137

/* Controls without an id */
#define IDC_STATIC (-1)

/* Frame buttons: OK, Cancel and Back as Windows numbers the first dialog buttons */
#define IDC_NEXT 1
#define IDC_EXIT 2
#define IDC_BACK 3

/* Controls */
#define IDC_SEPARATOR 1002
#define IDC_STATUS 1003
#define IDC_BANNER_BACKGROUND 1005
#define IDC_BROWSE 1006
#define IDC_FOLDER 1007
#define IDC_FOLDER_GROUP 1008
#define IDC_FOLDER_LABEL 1009
#define IDC_DESKTOP_SHORTCUT 1010
#define IDC_MENU_SHORTCUT 1011
#define IDC_MENU_GROUP 1012
#define IDC_PROGRESS 1014
#define IDC_LOG 1015
#define IDC_INFO 1016
#define IDC_QUICK_METHOD 1018
#define IDC_ADVANCED_METHOD 1019
#define IDC_VERSION_LINE 1019
#define IDC_COPYRIGHT 1020
#define IDC_METHOD_GROUP 1021
#define IDC_LANGUAGE_LABEL 1022
#define IDC_LANGUAGE_LIST 1023
