#pragma once
// The strip at the bottom of the grid that stays while the rows scroll: the grid's last
// row (totals), the current row's cell of one column, or a template of its cells.
#include <functional>
#include <string>

#include "platform/Classes.h"
#include "platform/Types.h"
#include "widgets/grid/GridOptions.h"

namespace platform {
class TCustomPanel;
}

namespace grid {

class TExStringGrid;
class TFooterPanel;

using TCalcFooterEvent = std::function<void(platform::TObject* Sender, int ACol, int ARow, std::string& Value)>;

class TFloatingFooter : public platform::TPersistent {
public:
    explicit TFloatingFooter(TExStringGrid* AGrid);
    ~TFloatingFooter() override;
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    platform::TColor Color() const { return color_; }
    void SetColor(platform::TColor v);
    int Column() const { return column_; }
    void SetColumn(int v);
    TFooterStyle FooterStyle() const { return style_; }
    void SetFooterStyle(TFooterStyle v);
    const std::string& CustomTemplate() const { return template_; }
    void SetCustomTemplate(const std::string& v);
    bool CalculateHiddenRows = false;
    TCalcFooterEvent OnCalcFooter;
    int Height() const { return height_; }
    void SetHeight(int v);
    // The calculation of a column, kept in its last-row cell.
    TColumnCalcType GetColumnCalc(int ACol) const;
    void SetColumnCalc(int ACol, TColumnCalcType Value);
    // True while the footer shows over the grid's last row.
    bool Active() const { return visible_ && style_ == fsFixedLastRow; }
    void Invalidate();
    TFooterPanel* Panel() const { return panel_; }
    bool PanelShown() const;
    // Template text with each "<#n>" replaced by column n of the current row.
    std::string HTMLColReplace(const std::string& Template) const;

private:
    void Update();
    TExStringGrid* grid_;
    TFooterPanel* panel_ = nullptr;
    bool visible_ = false;
    platform::TColor color_ = platform::clBtnFace;
    int column_ = 0;
    TFooterStyle style_ = fsFixedLastRow;
    std::string template_;
    int height_ = 21;
};

}  // namespace grid
