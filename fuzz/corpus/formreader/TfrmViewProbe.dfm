inherited frmViewProbe: TfrmViewProbe
  Caption = '坏账冲销 - 条件'
  inherited pnlMain: TPanel
    inherited edCustomer: TEdit
      Text = 'C001'
    end
    object lblDate: TLabel
      Left = 16
      Top = 52
      Caption = '截止日期'
    end
    object edDate: TEdit
      Left = 120
      Top = 48
      Width = 120
      Height = 21
      TabOrder = 1
    end
    object chkAll: TCheckBox
      Left = 120
      Top = 84
      Width = 160
      Height = 17
      Caption = '包含已冲销(&A)'
      TabOrder = 2
    end
    object grpNote: TGroupBox
      Left = 16
      Top = 112
      Width = 388
      Height = 84
      Caption = '说明'
      TabOrder = 3
      object edNote: TEdit
        Left = 12
        Top = 28
        Width = 360
        Height = 21
        TabOrder = 0
      end
    end
  end
end
