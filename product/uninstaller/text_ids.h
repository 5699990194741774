#pragma once
/* The uninstaller's texts: one string table per language, each holding these ids. Only
   preprocessor definitions, as the resource compiler reads this file too. */

#define UNINSTALL_TEXT_TITLE 1
#define UNINSTALL_TEXT_CONFIRM 2
#define UNINSTALL_TEXT_PRODUCT_RUNNING 3
#define UNINSTALL_TEXT_LOG_MISSING 4
#define UNINSTALL_TEXT_NOT_ADMINISTRATOR 5
#define UNINSTALL_TEXT_REMOVED 6
#define UNINSTALL_TEXT_ITEMS_LEFT 7
#define UNINSTALL_TEXT_SHARED_DATA_KEPT 8
