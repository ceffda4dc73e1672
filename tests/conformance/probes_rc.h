// Identifiers of the probes' resources (probes.rc).
#define IDS_SHORT 101
#define IDS_LONG 102
#define IDS_JAPANESE 103
#define IDS_ONE 104
#define IDS_MISSING 199

#define IDM_PROBE 200
#define IDM_FIRST 201
#define IDM_SECOND 202

#define IDI_PROBE 300
#define IDI_MISSING 399
