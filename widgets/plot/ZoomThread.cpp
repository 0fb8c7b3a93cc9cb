#include "widgets/plot/ZoomThread.h"

#include "platform/system/Thread.h"
#include "widgets/plot/PlotGraph.h"

namespace plot {

using namespace platform;

TZoomThread::TZoomThread(TPlotGraph* Graph, const TRect2D& StartRect, const TRect2D& TargetRect, int ZoomTime,
                         DWORD StartTime)
    : TComponent(Graph), graph_(Graph), target_(TargetRect), work_(StartRect), start_(StartRect),
      zoomTime_(ZoomTime > 0 ? ZoomTime : 1), t_(Extended(StartTime))
{
    step_.x1 = (target_.x1 - start_.x1) / zoomTime_;
    step_.y1 = (target_.y1 - start_.y1) / zoomTime_;
    step_.x2 = (target_.x2 - start_.x2) / zoomTime_;
    step_.y2 = (target_.y2 - start_.y2) / zoomTime_;
    timer_ = new TTimer(this);
    timer_->SetInterval(1);
    timer_->SetOnTimer([this](TObject*) { Execute(); });
}

TZoomThread::~TZoomThread()
{
    timer_->SetEnabled(false);
    if (graph_->zoomThread_ == this) graph_->zoomThread_ = nullptr;
}

void TZoomThread::Terminate()
{
    terminated_ = true;
    timer_->SetEnabled(false);
}

void TZoomThread::Execute()
{
    if (terminated_ || finished_) return;
    const DWORD now = GetTickCount();
    // The time since the previous frame began: its render and the wait for this one.
    if (started_) t_ += Extended(DWORD(now - frameTick_));
    started_ = true;
    frameTick_ = now;
    bool last = false;
    if (t_ >= zoomTime_) {
        t_ = zoomTime_;
        last = true;
    }
    work_.x1 = start_.x1 + t_ * step_.x1;
    work_.y1 = start_.y1 + t_ * step_.y1;
    work_.x2 = start_.x2 + t_ * step_.x2;
    work_.y2 = start_.y2 + t_ * step_.y2;
    if (last) {
        finished_ = true;
        timer_->SetEnabled(false);
    }
    DrawGraph();
    if (last && graph_->zoomThread_ == this) graph_->zoomThread_ = nullptr;
}

void TZoomThread::DrawGraph()
{
    if (terminated_) return;
    graph_->SetVisRect(work_);
}

}  // namespace plot
