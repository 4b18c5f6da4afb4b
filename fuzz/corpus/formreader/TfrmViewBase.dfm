object frmViewBase: TfrmViewBase
  Left = 200
  Top = 120
  Width = 420
  Height = 260
  Caption = '坏账冲销'
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = '宋体'
  KeyPreview = True
  OnKeyDown = FormKeyDown
  object pnlBottom: TPanel
    Left = 0
    Top = 210
    Width = 420
    Height = 50
    TabOrder = 1
    object btnOk: TButton
      Left = 230
      Top = 12
      Width = 80
      Height = 26
      Caption = '确定(&O)'
      TabOrder = 0
      OnClick = btnOkClick
    end
    object btnCancel: TButton
      Left = 320
      Top = 12
      Width = 80
      Height = 26
      Caption = '取消(&C)'
      TabOrder = 1
    end
  end
  object pnlMain: TPanel
    Left = 0
    Top = 0
    Width = 420
    Height = 210
    TabOrder = 0
    object lblCustomer: TLabel
      Left = 16
      Top = 20
      Caption = '客户编号(&K)'
      FocusControl = edCustomer
    end
    object edCustomer: TEdit
      Left = 120
      Top = 16
      Width = 120
      Height = 21
      TabOrder = 0
      OnExit = edCustomerExit
    end
  end
end
