// Compiled only by the layer check, which expects it to fail: the model may not see the viewer.
#include "IMPN/IMPN_Sheet.h"
#include "WKRN/app/WKRN_Ids.h"
