// A radio group whose buttons draw their captions themselves.
#pragma once

#include "components/KtRadioButton.h"

#include <memory>
#include <vector>

namespace components {

class TKtRadioGroup : public TGroupBox {
    RTL_DECLARE_CLASS(TKtRadioGroup, TGroupBox)
public:
    explicit TKtRadioGroup(TComponent* owner);
    ~TKtRadioGroup() override;

    // One button per line.
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* items);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    // Held within 1…16.
    int Columns() const { return FColumns; }
    void SetColumns(int n);
    int ButtonCount() const { return int(FButtons.size()); }
    TKtGroupButton* Buttons(int index) const { return FButtons.at(size_t(index)); }
    // Lays the buttons out column by column.
    void ArrangeButtons();

protected:
    void Loaded() override;
    void Changed() override;
    void FontChanged() override;

private:
    void ItemsChanged(TObject*);
    void ButtonClick(TObject* sender);
    void UpdateButtons();
    std::unique_ptr<TStringList> FItems;
    std::vector<TKtGroupButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false, FReading = false;
};

} // namespace components
