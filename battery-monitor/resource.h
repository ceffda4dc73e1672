// Resource identifiers of voltmarap, shared by the program and its resource script.
#pragma once

// String table
#define IDS_TITLE           1
#define IDS_HTML            2
#define IDS_ON_AC           3
#define IDS_CHARGING        4
#define IDS_UNDETERMINED    5

// Icons; the level icons are not numbered in the order of the levels, and 105 is unused.
#define IDI_APP             101
#define IDI_LEVEL_0         102
#define IDI_LEVEL_1         103
#define IDI_LEVEL_2         104
#define IDI_WARNING         106
#define IDI_AC              107
#define IDI_LEVEL_3         108
