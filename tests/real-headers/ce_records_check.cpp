// Windows CE's records under the desktop's types.
#include "ce_record_sizes.h"
