// At start-up: delete cached files unused for AutoDeleteDays days, judged by
// the rules of deletion_age.h.
#pragma once
#include "app/deletion_age.h"

void RemoveUnusedCachedFiles();
