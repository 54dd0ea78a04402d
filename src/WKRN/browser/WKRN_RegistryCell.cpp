#include "WKRN/browser/WKRN_RegistryCell.h"

WKRN_RegistryCell::~WKRN_RegistryCell() = default;
