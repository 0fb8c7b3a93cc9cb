#pragma once
// The zoom animation of the plot control. Frames run on the GUI thread from a timer;
// each frame advances by the time the previous one really took, so a slow render
// gives fewer, larger steps and the animation still ends after about the zoom time.
#include "platform/Classes.h"
#include "platform/Types.h"
#include "widgets/plot/PlotData.h"

namespace platform {
class TTimer;
}

namespace plot {

class TPlotGraph;

class TZoomThread : public platform::TComponent {
public:
    // Starts at once; StartTime (ms) is where in its course the animation begins.
    // Owned by Graph, which is told through its zoom-thread link when the last frame is done.
    TZoomThread(TPlotGraph* Graph, const TRect2D& StartRect, const TRect2D& TargetRect, int ZoomTime,
                platform::DWORD StartTime);
    ~TZoomThread() override;

    // Stops the animation; no frame runs afterwards.
    void Terminate();
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    const TRect2D& TargetRect() const { return target_; }
    const TRect2D& WorkRect() const { return work_; }

private:
    void Execute();    // one round of the frame loop
    void DrawGraph();  // applies the working rectangle to the control

    TPlotGraph* graph_;
    TRect2D target_;
    TRect2D work_;
    TRect2D start_;
    TRect2D step_;  // per millisecond
    int zoomTime_;
    Extended t_;
    platform::DWORD frameTick_ = 0;
    bool started_ = false;
    bool terminated_ = false;
    bool finished_ = false;
    platform::TTimer* timer_;
};

}  // namespace plot
