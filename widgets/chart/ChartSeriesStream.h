#pragma once
// What a series' "Data" payload holds, and the engine-wide sample data switch.
#include "widgets/chart/ChartSeries.h"

namespace chart {

enum TDataContents : unsigned { dcNotMandatory = 1, dcColors = 2, dcLabels = 4, dcMarkPositions = 8 };

// Sample points also at run time (not only while designing).
extern bool ChartRandomAtRunTime;

bool HasNoMandatoryValues(TChartSeries& s);
bool HasColors(TChartSeries& s);
bool HasLabels(TChartSeries& s);
// The content flags of the payload; every point is looked at.
unsigned SeriesGuessContents(TChartSeries& s);
// A random integer in 0..limit-1.
int RandomValue(int limit);
inline bool CanAddRandomPoints() { return ChartRandomAtRunTime; }

}  // namespace chart
