// The benchmark form: 10 panels, each with 5 labels, 5 edits and 4 buttons (150 components),
// with Chinese captions and an event bound by name.
#pragma once

#include "platform/vcl/Forms.h"

#include "platform/rtl/ClassBuilder.h"

#include <string>

class TfrmBench : public vcl::TForm {
    RTL_DECLARE_CLASS(TfrmBench, vcl::TForm)
public:
    using vcl::TForm::TForm;
    void Clicked(rtl::TObject*) {}
};

inline std::string Resource() {
    std::string r =
        "object frmBench: TfrmBench\n  Width = 800\n  Height = 600\n  Caption = '坏账冲销'\n";
    int n = 0;
    for (int p = 0; p < 10; ++p) {
        r += "  object pnl" + std::to_string(p) +
             ": TPanel\n    Left = 0\n    Top = " + std::to_string(p * 50) +
             "\n    Width = 780\n    Height = 48\n";
        ++n;
        for (int i = 0; i < 5; ++i, n += 2) {
            std::string k = std::to_string(p * 10 + i);
            r += "    object lbl" + k + ": TLabel\n      Left = " + std::to_string(i * 150) +
                 "\n      Top = 4\n      Caption = '客户编号" + k + "'\n    end\n";
            r += "    object ed" + k + ": TEdit\n      Left = " + std::to_string(i * 150 + 60) +
                 "\n      Top = 4\n      Width = 80\n      MaxLength = 10\n      TabOrder = " +
                 std::to_string(i) + "\n    end\n";
        }
        for (int i = 0; i < 4; ++i, ++n)
            r += "    object btn" + std::to_string(p * 10 + i) +
                 ": TButton\n      Left = 10\n      Top = 26\n      Caption = '确定'\n"
                 "      OnClick = Clicked\n    end\n";
        r += "  end\n";
    }
    r += "end\n";
    return r;
}

// Registers the class and its resource once.
void RegisterBenchForm();
