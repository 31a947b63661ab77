#pragma once
// The sound propagation viewer's document (kind 6, reading the scene source 4).

#include "PendingViewerDoc.h"

inline constexpr char kPropViewerDocName[] = "CPROPViewerDoc";
class CPROPViewerDoc final : public TPendingViewerDoc<6, 4, kPropViewerDocName> {};
