object frmGallery: TfrmGallery
  Left = 100
  Top = 80
  Width = 560
  Height = 400
  Caption = '条件输入控件'
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -12
  Font.Name = '宋体'
  KeyPreview = True
  object pgOption: TExtPageControl
    Left = 8
    Top = 8
    Width = 544
    Height = 300
    ActivePage = tsCondition
    TabOrder = 0
    object tsCondition: TTabSheet
      Caption = '条件'
      object edCustomer: TKtBtnEdit
        Left = 96
        Top = 16
        Width = 121
        Height = 21
        Caption = '客户编号'
        GlyphIndex = 60
        ButtonHint = '查询客户'
        TabOrder = 0
      end
      object edDept: TKtBtnEdit
        Left = 96
        Top = 48
        Width = 121
        Height = 21
        Caption = '部门编号'
        GlyphIndex = 78
        TabOrder = 1
      end
      object edDate: TMaskEdit
        Left = 96
        Top = 80
        Width = 86
        Height = 21
        EditMask = '9999/99/99;1;_'
        MaxLength = 10
        TabOrder = 2
      end
      object btnDate: TF2Button
        Left = 184
        Top = 80
        Width = 21
        Height = 21
        F2Control = edDate
        GlyphIndex = 9
      end
      object lblDate: TDBLabel
        Left = 8
        Top = 84
        Caption = '截止日期'
        FocusControl = edDate
      end
      object chkAll: TBitCheckBox
        Left = 96
        Top = 112
        Width = 140
        Height = 17
        Caption = '包含已冲销(&A)'
        State = cbChecked
        TabOrder = 3
      end
      object chkGrayed: TBitCheckBox
        Left = 96
        Top = 134
        Width = 140
        Height = 17
        Caption = '部分'
        AllowGrayed = True
        State = cbGrayed
        TabOrder = 4
      end
      object chkOff: TBitCheckBox
        Left = 96
        Top = 156
        Width = 140
        Height = 17
        Caption = '未选'
        Enabled = False
        TabOrder = 5
      end
      object rbDetail: TKtRadioButton
        Left = 280
        Top = 16
        Width = 113
        Height = 17
        Caption = '明细'
        Checked = True
        TabOrder = 6
      end
      object rbSum: TKtRadioButton
        Left = 280
        Top = 38
        Width = 113
        Height = 17
        Caption = '汇总'
        TabOrder = 7
      end
      object rgCycle: TKtRadioGroup
        Left = 280
        Top = 70
        Width = 240
        Height = 90
        Caption = '周期'
        Columns = 2
        ItemIndex = 1
        Items.Strings = (
          '每日'
          '每周'
          '每月'
          '每小时')
        TabOrder = 8
      end
      object seCount: TKtSpinEdit
        Left = 96
        Top = 184
        Width = 60
        Height = 21
        MaxValue = 99
        MinValue = 1
        Text = '3'
        TabOrder = 9
      end
    end
    object tsOption: TTabSheet
      Caption = '选项'
    end
    object tsHidden: TTabSheet
      Caption = '隐藏'
      TabVisible = False
    end
    object tsSchedule: TTabSheet
      Caption = '排程'
    end
  end
  object btnOk: TButton
    Left = 376
    Top = 320
    Width = 80
    Height = 26
    Caption = '确定(&O)'
    TabOrder = 1
  end
  object btnCancel: TButton
    Left = 464
    Top = 320
    Width = 80
    Height = 26
    Caption = '取消(&C)'
    TabOrder = 2
  end
end
