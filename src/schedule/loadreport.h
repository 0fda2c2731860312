#pragma once
// The load report lives in the foundation; schedule code includes it here.
#include "foundation/loadreport.h"
