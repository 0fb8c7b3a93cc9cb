#pragma once
// A white, flat, unbuffered 400 × 300 chart control on a host window of the tests.
#include <memory>

#include "platform/TestRig.h"
#include "widgets/chart/Chart.h"

namespace charttest {

struct ChartOnHost {
    ChartOnHost()
    {
        platform::EnsurePlatform();
        host = std::make_unique<platform::TCustomControl>(nullptr);
        host->SetBounds(0, 0, 420, 330);
        chart = new chart::TChart(host.get());
        chart->SetParent(host.get());
        chart->SetBounds(0, 0, 400, 300);
        chart->SetBufferedDisplay(false);
        chart->SetView3D(false);
        chart->SetColor(platform::clWhite);
        chart->SetBevelOuter(chart::bvNone);
    }
    std::unique_ptr<platform::TCustomControl> host;
    chart::TChart* chart = nullptr;  // owned by host
};

}  // namespace charttest
