object KTForm: TKTForm
  Left = 0
  Top = 0
  Width = 400
  Height = 191
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = '宋体'
  Font.Style = []
  KeyPreview = True
  Position = poScreenCenter
  Scaled = False
  ShowHint = True
  OnCreate = FormCreate
  OnShow = FormShow
  object KtConverter: TCodeConverter
    DesignType = dtClient
  end
  object LangController: TKtLangController
    Active = False
  end
end
