#pragma once
// Primary and sublanguage numbers of the string tables' LANGUAGE statements, with the values of
// the Windows headers, which the resource compiler does not have.

#define LANG_BULGARIAN 0x02
#define LANG_CHINESE 0x04
#define LANG_CZECH 0x05
#define LANG_DANISH 0x06
#define LANG_GERMAN 0x07
#define LANG_GREEK 0x08
#define LANG_ENGLISH 0x09
#define LANG_SPANISH 0x0a
#define LANG_FRENCH 0x0c
#define LANG_HEBREW 0x0d
#define LANG_HUNGARIAN 0x0e
#define LANG_ITALIAN 0x10
#define LANG_JAPANESE 0x11
#define LANG_DUTCH 0x13
#define LANG_NORWEGIAN 0x14
#define LANG_POLISH 0x15
#define LANG_PORTUGUESE 0x16
#define LANG_ROMANIAN 0x18
#define LANG_SERBIAN 0x1a
#define LANG_TURKISH 0x1f
#define LANG_VIETNAMESE 0x2a

#define SUBLANG_DEFAULT 0x01
#define SUBLANG_CHINESE_SIMPLIFIED 0x02
#define SUBLANG_ENGLISH_US 0x01
#define SUBLANG_FRENCH 0x01
#define SUBLANG_GERMAN 0x01
#define SUBLANG_ITALIAN 0x01
#define SUBLANG_DUTCH 0x01
#define SUBLANG_NORWEGIAN_BOKMAL 0x01
#define SUBLANG_PORTUGUESE 0x02
#define SUBLANG_SERBIAN_LATIN 0x02
#define SUBLANG_SPANISH_MODERN 0x03
