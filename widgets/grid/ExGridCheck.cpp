// Cell text checkers.
#include "widgets/grid/ExGridCheck.h"

#include "widgets/html/HtmlText.h"

namespace grid {

std::string TExStringGridCheck::MarkError(int, int, const std::string& Value) { return Value; }

std::string TExStringGridCheck::Correct(int, int, const std::string& Value) { return Value; }

std::string TExStringGridCheck::ReplaceOnce(const std::string& S, const std::string& OldPattern,
                                            const std::string& NewPattern)
{
    const size_t p = OldPattern.empty() ? std::string::npos : S.find(OldPattern);
    if (p == std::string::npos) return S;
    std::string r = S;
    r.replace(p, OldPattern.size(), NewPattern);
    return r;
}

std::string TExStringGridCheck::HiLight(const std::string& S, const std::string& HiText, const std::string& Tag,
                                        bool DoCase)
{
    return html::HiLight(S, HiText, Tag, DoCase);
}

std::string TCapitalCheck::Correct(int, int, const std::string& Value)
{
    std::string r = Value;
    char before2 = '.', before1 = ' ';  // the text starts as after a full stop and a blank
    for (char& c : r) {
        const char original = c;
        if (before1 == ' ' && (before2 == '.' || before2 == '!' || before2 == '?') && c >= 'a' && c <= 'z')
            c = char(c - 32);
        before2 = before1;
        before1 = original;
    }
    return r;
}

}  // namespace grid

// ---- the grid's side: checking cells on request

#include "widgets/grid/ExGrid.h"
#include "platform/graphics/ImageList.h"
#include "widgets/html/PictureContainer.h"

namespace grid {

void TExStringGrid::SetCellChecker(TExStringGridCheck* c)
{
    if (cellChecker_ == c) return;
    if (cellChecker_) RemoveFreeNotification(cellChecker_);
    cellChecker_ = c;
    if (c) FreeNotification(c);
}

void TExStringGrid::SetPictureContainer(html::TPictureContainer* c)
{
    if (pictureContainer_ == c) return;
    if (pictureContainer_) RemoveFreeNotification(pictureContainer_);
    pictureContainer_ = c;
    if (c) FreeNotification(c);
    Invalidate();
}

void TExStringGrid::Notification(platform::TComponent* AComponent, TOperation Operation)
{
    if (Operation == opRemove && AComponent && AComponent == cellChecker_) cellChecker_ = nullptr;
    if (Operation == opRemove && AComponent && AComponent == reinterpret_cast<platform::TComponent*>(pictureContainer_))
        pictureContainer_ = nullptr;
    if (Operation == opRemove && AComponent && AComponent == gridImages_) gridImages_ = nullptr;
    TBaseGrid::Notification(AComponent, Operation);
}

bool TExStringGrid::CheckCell(int ACol, int ARow)
{
    if (!cellChecker_) return true;
    const std::string t = GetCellEx(ACol, ARow);
    if (cellChecker_->GotoCell) {
        const int c = RemapColInv(ACol);
        if (c >= 0 && c < ColCount() && ARow >= 0 && ARow < RowCount()) FocusCell(c, ARow, true);
    }
    std::string r = t;
    if (cellChecker_->UseCorrect) r = cellChecker_->Correct(ACol, ARow, t);
    if (cellChecker_ && cellChecker_->UseMarkError) r = cellChecker_->MarkError(ACol, ARow, r);
    SetCellEx(ACol, ARow, r);
    return r == t;
}

bool TExStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    if (!cellChecker_) return true;
    TExStringGridCheck* checker = cellChecker_;
    checker->StartCheck();
    const int col = Col(), row = Row();
    bool unchanged = true;
    for (int r = FromRow; r <= ToRow; ++r)
        for (int c = FromCol; c <= ToCol; ++c) unchanged = CheckCell(c, r) && unchanged;
    if (cellChecker_ == checker) {
        checker->StopCheck();
        if (checker->GotoCell && col < ColCount() && row < RowCount()) FocusCell(col, row, true);
    }
    return unchanged;
}

bool TExStringGrid::CheckCol(bool DoFixed, int ACol)
{
    const platform::TRect r = ColRect(DoFixed, ACol);
    return CheckCells(r.Left, r.Top, r.Right, r.Bottom);
}

bool TExStringGrid::CheckRow(bool DoFixed, int ARow)
{
    const platform::TRect r = RowRect(DoFixed, ARow);
    return CheckCells(r.Left, r.Top, r.Right, r.Bottom);
}

bool TExStringGrid::CheckGrid(bool DoFixed)
{
    const platform::TRect r = GridRect(DoFixed);
    return CheckCells(r.Left, r.Top, r.Right, r.Bottom);
}

}  // namespace grid
