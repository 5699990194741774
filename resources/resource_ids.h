#pragma once
/* Constants shared by the resource scripts and the C++ code. The resource compiler reads the
   scripts without any platform header, so the Windows values the scripts use are defined here.
   Only preprocessor definitions: the resource compiler understands nothing else. */

/* Resource types and ids */
#define RT_MANIFEST 24
#define VS_VERSION_INFO 1
#define CREATEPROCESS_MANIFEST_RESOURCE_ID 1

/* Languages */
#define LANG_NEUTRAL 0x00
#define SUBLANG_NEUTRAL 0x00

/* VS_FIXEDFILEINFO fields */
#define VS_FFI_FILEFLAGSMASK 0x3F
#define VOS_NT_WINDOWS32 0x40004
#define VFT_APP 0x1
#define VFT2_UNKNOWN 0x0

/* The code page of a version block's Unicode strings */
#define CP_UTF16LE_BLOCK 1200
