// The chart of the History panel: best position over time, one line per engine, drawn with
// Qt Charts from the history's chart data. The position axis is reversed (1 at the top) and
// runs from 1 to the worst position shown; a check that found nothing is a gap in its line.
#pragma once

#include "ranking/rankhistorylist.h"

class QChart;

namespace qs {

// Replaces the chart's series and axes by those of `data`.
void DrawRankChart(QChart& chart, const TRankChart& data);

}  // namespace qs
