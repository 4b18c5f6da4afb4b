// The interaction service of a GUI process: message dialogs as Qt message boxes, modal runs of
// forms in a nested event loop, errors in a critical message box.
#include "platform/vcl/qt/QtViews.h"

#include "platform/vcl/Dialogs.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace vcl::qt {

namespace {

class TQtInteraction : public IInteraction {
public:
    int ShowDialog(const TDialogRequest& r) override {
        QMessageBox box;
        box.setWindowTitle(ToQString(r.Caption));
        box.setText(ToQString(r.Text));
        switch (r.Type) {
        case TMsgDlgType::mtWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case TMsgDlgType::mtError:
            box.setIcon(QMessageBox::Critical);
            break;
        case TMsgDlgType::mtInformation:
            box.setIcon(QMessageBox::Information);
            break;
        case TMsgDlgType::mtConfirmation:
            box.setIcon(QMessageBox::Question);
            break;
        case TMsgDlgType::mtCustom:
            break;
        }
        std::vector<std::pair<QAbstractButton*, int>> buttons;
        for (const TDialogButton& b : r.Buttons) {
            QPushButton* qb = box.addButton(ToQString(b.Caption), QMessageBox::ActionRole);
            buttons.emplace_back(qb, b.ModalResult);
            if (b.ModalResult == r.DefaultResult) box.setDefaultButton(qb);
            if (b.ModalResult == r.CancelResult) box.setEscapeButton(qb);
        }
        box.exec();
        for (const auto& [qb, result] : buttons)
            if (box.clickedButton() == qb) return result;
        return r.CancelResult ? r.CancelResult : mrCancel;
    }

    void DriveModal(TCustomForm& form) override {
        QWidget* w = form.View() ? static_cast<QWidget*>(form.View()->Native()) : nullptr;
        if (!w) return;
        w->hide();
        w->setWindowModality(Qt::ApplicationModal);
        w->show();
        QEventLoop loop;
        QTimer poll;
        // The form ends its run by setting a modal result or by being hidden or freed.
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (form.ModalResult() != mrNone || !form.Visible()) loop.quit();
        });
        poll.start(10);
        loop.exec();
        if (form.View()) w->setWindowModality(Qt::NonModal);
    }

    void ShowException(const std::exception& error) override {
        QMessageBox::critical(nullptr, QString(), QString::fromUtf8(error.what()));
    }
};

} // namespace

void InstallQtInteraction() {
    SetInteraction(std::make_unique<TQtInteraction>());
}

} // namespace vcl::qt
