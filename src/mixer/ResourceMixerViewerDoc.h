#pragma once
// The resource mixer's document (kind 5, reading the mixer source 5).

#include "PendingViewerDoc.h"

inline constexpr char kResourceMixerViewerDocName[] = "CResourceMixerViewerDoc";
class CResourceMixerViewerDoc final : public TPendingViewerDoc<5, 5, kResourceMixerViewerDocName> {};
