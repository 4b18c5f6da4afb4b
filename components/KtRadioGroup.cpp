#include "components/KtRadioGroup.h"

#include "platform/vcl/Graphics.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace components {

RTL_BEGIN_CLASS(TKtRadioGroup, TGroupBox)
c.Obj("Items", &TKtRadioGroup::Items, &TKtRadioGroup::SetItems);
c.Int("ItemIndex", &TKtRadioGroup::ItemIndex, &TKtRadioGroup::SetItemIndex);
c.Int("Columns", &TKtRadioGroup::Columns, &TKtRadioGroup::SetColumns);
RTL_END_CLASS

TKtRadioGroup::TKtRadioGroup(TComponent* owner)
    : TGroupBox(owner), FItems(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 185, 105);
    FItems->OnChange = rtl::MethodOf<&TKtRadioGroup::ItemsChanged>(this);
}

TKtRadioGroup::~TKtRadioGroup() {
    FItems->OnChange = {};
    for (TKtGroupButton* b : FButtons)
        delete b;
}

void TKtRadioGroup::SetItems(TStrings* items) {
    if (items) FItems->Assign(items);
}

void TKtRadioGroup::SetItemIndex(int index) {
    if (IsLoading()) {
        FItemIndex = index; // applied once the items are read
        return;
    }
    if (index < -1) index = -1;
    if (index >= int(FButtons.size())) index = int(FButtons.size()) - 1;
    if (index == FItemIndex) return;
    if (FItemIndex >= 0 && FItemIndex < int(FButtons.size()))
        FButtons[size_t(FItemIndex)]->SetChecked(false);
    FItemIndex = index;
    if (index >= 0) FButtons[size_t(index)]->SetChecked(true);
}

void TKtRadioGroup::SetColumns(int n) {
    n = std::clamp(n, 1, 16);
    if (n == FColumns) return;
    FColumns = n;
    ArrangeButtons();
}

void TKtRadioGroup::ItemsChanged(TObject*) {
    if (IsLoading()) return;
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
    UpdateButtons();
}

void TKtRadioGroup::UpdateButtons() {
    FUpdating = true;
    while (int(FButtons.size()) < FItems->Count()) {
        auto* b = new TKtGroupButton(nullptr);
        b->FOnClick = rtl::MethodOf<&TKtRadioGroup::ButtonClick>(this);
        b->SetParent(this);
        FButtons.push_back(b);
    }
    while (int(FButtons.size()) > FItems->Count()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    for (size_t i = 0; i < FButtons.size(); ++i) {
        TKtGroupButton* b = FButtons[i];
        b->SetCaption((*FItems)[int(i)]);
        b->SetEnabled(Enabled());
        b->SetChecked(int(i) == FItemIndex);
    }
    FUpdating = false;
    ArrangeButtons();
}

void TKtRadioGroup::ArrangeButtons() {
    if (FButtons.empty() || IsLoading()) return;
    TBitmap measure;
    measure.Canvas()->Font()->Assign(Font());
    const int textHeight = measure.Canvas()->TextHeight("0");
    const int count = int(FButtons.size());
    const int perColumn = (count + FColumns - 1) / FColumns;
    const int buttonWidth = (Width() - 10) / FColumns;
    const int space = Height() - textHeight - 5;
    const int buttonHeight = space / perColumn;
    const int topMargin = textHeight + 1 + (space % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        int left = (i / perColumn) * buttonWidth + 8;
        FButtons[size_t(i)]->SetBounds(left, (i % perColumn) * buttonHeight + topMargin,
                                       buttonWidth, buttonHeight);
    }
}

void TKtRadioGroup::ButtonClick(TObject* sender) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), sender);
    if (it == FButtons.end()) return;
    FItemIndex = int(it - FButtons.begin());
    Click();
}

void TKtRadioGroup::Loaded() {
    TGroupBox::Loaded();
    UpdateButtons();
}

void TKtRadioGroup::Changed() {
    TGroupBox::Changed();
    if (!FUpdating) ArrangeButtons();
    for (TKtGroupButton* b : FButtons)
        if (b->Enabled() != Enabled()) b->SetEnabled(Enabled());
}

void TKtRadioGroup::FontChanged() {
    TGroupBox::FontChanged();
    ArrangeButtons();
}

} // namespace components
