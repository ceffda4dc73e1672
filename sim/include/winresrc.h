// Constants for resource scripts: what <windows.h> provides when the resource compiler reads it.
#ifndef _WINRESRC_
#define _WINRESRC_

// Languages
#define LANG_NEUTRAL                0x00
#define LANG_CHINESE                0x04
#define LANG_ENGLISH                0x09
#define LANG_FRENCH                 0x0c
#define LANG_GERMAN                 0x07
#define LANG_JAPANESE               0x11
#define LANG_KOREAN                 0x12

#define SUBLANG_NEUTRAL             0x00
#define SUBLANG_DEFAULT             0x01
#define SUBLANG_SYS_DEFAULT         0x02
#define SUBLANG_ENGLISH_US          0x01
#define SUBLANG_ENGLISH_UK          0x02

// No casts: the resource compiler's expressions know none.
#define MAKELANGID(p, s)            (((s) << 10) | (p))

// Version resources
#define VS_FILE_INFO                RT_VERSION
#define VS_VERSION_INFO             1
#define VS_USER_DEFINED             100

#define VS_FFI_SIGNATURE            0xFEEF04BDL
#define VS_FFI_STRUCVERSION         0x00010000L
#define VS_FFI_FILEFLAGSMASK        0x0000003FL

#define VS_FF_DEBUG                 0x00000001L
#define VS_FF_PRERELEASE            0x00000002L
#define VS_FF_PATCHED               0x00000004L
#define VS_FF_PRIVATEBUILD          0x00000008L
#define VS_FF_INFOINFERRED          0x00000010L
#define VS_FF_SPECIALBUILD          0x00000020L

#define VOS_UNKNOWN                 0x00000000L
#define VOS_DOS                     0x00010000L
#define VOS_OS216                   0x00020000L
#define VOS_OS232                   0x00030000L
#define VOS_NT                      0x00040000L
#define VOS_WINCE                   0x00050000L

#define VOS__BASE                   0x00000000L
#define VOS__WINDOWS16              0x00000001L
#define VOS__PM16                   0x00000002L
#define VOS__PM32                   0x00000003L
#define VOS__WINDOWS32              0x00000004L

#define VOS_DOS_WINDOWS16           0x00010001L
#define VOS_DOS_WINDOWS32           0x00010004L
#define VOS_OS216_PM16              0x00020002L
#define VOS_OS232_PM32              0x00030003L
#define VOS_NT_WINDOWS32            0x00040004L

#define VFT_UNKNOWN                 0x00000000L
#define VFT_APP                     0x00000001L
#define VFT_DLL                     0x00000002L
#define VFT_DRV                     0x00000003L
#define VFT_FONT                    0x00000004L
#define VFT_VXD                     0x00000005L
#define VFT_STATIC_LIB              0x00000007L

#define VFT2_UNKNOWN                0x00000000L

// Menus
#define MF_ENABLED                  0x00000000L
#define MF_GRAYED                   0x00000001L
#define MF_DISABLED                 0x00000002L
#define MF_BITMAP                   0x00000004L
#define MF_CHECKED                  0x00000008L
#define MF_POPUP                    0x00000010L
#define MF_MENUBARBREAK             0x00000020L
#define MF_MENUBREAK                0x00000040L
#define MF_END                      0x00000080L
#define MF_HILITE                   0x00000080L
#define MF_OWNERDRAW                0x00000100L
#define MF_BYPOSITION               0x00000400L
#define MF_SEPARATOR                0x00000800L
#define MF_DEFAULT                  0x00001000L
#define MF_HELP                     0x00004000L
#define MF_RIGHTJUSTIFY             0x00004000L
#define MF_STRING                   0x00000000L
#define MF_UNCHECKED                0x00000000L
#define MF_BYCOMMAND                0x00000000L

#define MFT_STRING                  MF_STRING
#define MFT_BITMAP                  MF_BITMAP
#define MFT_MENUBARBREAK            MF_MENUBARBREAK
#define MFT_MENUBREAK               MF_MENUBREAK
#define MFT_OWNERDRAW               MF_OWNERDRAW
#define MFT_RADIOCHECK              0x00000200L
#define MFT_SEPARATOR               MF_SEPARATOR
#define MFT_RIGHTORDER              0x00002000L
#define MFT_RIGHTJUSTIFY            MF_RIGHTJUSTIFY

#define MFS_GRAYED                  0x00000003L
#define MFS_DISABLED                MFS_GRAYED
#define MFS_CHECKED                 MF_CHECKED
#define MFS_HILITE                  MF_HILITE
#define MFS_ENABLED                 MF_ENABLED
#define MFS_UNCHECKED               MF_UNCHECKED
#define MFS_UNHILITE                0x00000000L
#define MFS_DEFAULT                 MF_DEFAULT

// Dialog box command identifiers
#define IDOK                        1
#define IDCANCEL                    2
#define IDABORT                     3
#define IDRETRY                     4
#define IDIGNORE                    5
#define IDYES                       6
#define IDNO                        7
#define IDCLOSE                     8
#define IDHELP                      9

// Window and dialog styles, for dialog templates
#define WS_OVERLAPPED               0x00000000L
#define WS_POPUP                    0x80000000L
#define WS_CHILD                    0x40000000L
#define WS_VISIBLE                  0x10000000L
#define WS_DISABLED                 0x08000000L
#define WS_CLIPSIBLINGS             0x04000000L
#define WS_CLIPCHILDREN             0x02000000L
#define WS_CAPTION                  0x00C00000L
#define WS_BORDER                   0x00800000L
#define WS_DLGFRAME                 0x00400000L
#define WS_VSCROLL                  0x00200000L
#define WS_HSCROLL                  0x00100000L
#define WS_SYSMENU                  0x00080000L
#define WS_THICKFRAME               0x00040000L
#define WS_GROUP                    0x00020000L
#define WS_TABSTOP                  0x00010000L

#define WS_EX_DLGMODALFRAME         0x00000001L
#define WS_EX_TOPMOST               0x00000008L
#define WS_EX_WINDOWEDGE            0x00000100L
#define WS_EX_CLIENTEDGE            0x00000200L

#define DS_ABSALIGN                 0x01L
#define DS_SYSMODAL                 0x02L
#define DS_3DLOOK                   0x04L
#define DS_SETFONT                  0x40L
#define DS_MODALFRAME               0x80L
#define DS_SETFOREGROUND            0x200L
#define DS_CONTROL                  0x400L
#define DS_CENTER                   0x800L

#define SS_LEFT                     0x00000000L
#define SS_CENTER                   0x00000001L
#define SS_RIGHT                    0x00000002L
#define SS_ICON                     0x00000003L
#define SS_NOPREFIX                 0x00000080L

#define BS_PUSHBUTTON               0x00000000L
#define BS_DEFPUSHBUTTON            0x00000001L
#define BS_CHECKBOX                 0x00000002L
#define BS_AUTOCHECKBOX             0x00000003L

#define ES_LEFT                     0x0000L
#define ES_MULTILINE                0x0004L
#define ES_AUTOHSCROLL              0x0080L
#define ES_READONLY                 0x0800L

#endif  // _WINRESRC_
