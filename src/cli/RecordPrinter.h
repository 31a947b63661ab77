#pragma once
// Prints history records as quorvel-cli shows them: one text line, or one JSON
// object per line (docs/cli-output.md), flushed at once.

#include "InfoRecords.h"

void PrintRecord(const CInfoContainer& record, bool json);
