#pragma once
// What a series' "Data" payload holds, and the engine-wide sample data switch.
#include <optional>
#include <string>
#include <vector>

#include "widgets/chart/ChartSeries.h"

namespace base {
class TStrings;
}

namespace chart {

enum TDataContents : unsigned { dcNotMandatory = 1, dcColors = 2, dcLabels = 4, dcMarkPositions = 8 };

enum TChartSeriesStyle : unsigned {
    tssIsTemplate = 1, tssDenyChangeType = 2, tssDenyDelete = 4, tssDenyClone = 8, tssIsPersistent = 16,
    tssHideDataSource = 32
};

// What a series adds to the component stream, each present only when it is written.
struct TSeriesStreamProperties {
    std::optional<std::string> Identifier;
    std::optional<int> Style;
    std::optional<std::vector<std::string>> DataSources;
    std::optional<int> CustomHorizAxis, CustomVertAxis;
    std::optional<std::vector<unsigned char>> Data;
};
TSeriesStreamProperties WriteSeriesProperties(TChartSeries& s);
// Reads them into a series that is already a child of its chart; Loaded finishes the job.
// A damaged "Data" is refused (ChartException) before anything changes.
void ReadSeriesProperties(TChartSeries& s, const TSeriesStreamProperties& p);

// Adds the series of the list (not those hidden from editors) with their titles or names.
void FillSeriesItems(base::TStrings& strings, const std::vector<TChartSeries*>& list, bool useTitles = true);

// Sample points also at run time (not only while designing).
extern bool ChartRandomAtRunTime;
// Palette places of the first and of any other series of a gallery preview.
extern int clChartGallery1, clChartGallery2;

bool HasNoMandatoryValues(TChartSeries& s);
bool HasColors(TChartSeries& s);
bool HasLabels(TChartSeries& s);
// The content flags of the payload; every point is looked at.
unsigned SeriesGuessContents(TChartSeries& s);
// A random integer in 0..limit-1.
int RandomValue(int limit);
inline bool CanAddRandomPoints() { return ChartRandomAtRunTime; }

}  // namespace chart
