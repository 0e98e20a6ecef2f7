#include "session/UnsavedSettingsNotice.h"

#include "platform/MessageBoxes.h"
#include "settings/SettingsFile.h"

#include <QDir>

UnsavedSettingsNotice::UnsavedSettingsNotice(SettingsFile& file, MessageBoxes& boxes)
    : file_(file)
    , boxes_(boxes)
{
    file_.onWriteFailed([this] { writeFailed(); });
}

UnsavedSettingsNotice::~UnsavedSettingsNotice()
{
    file_.onWriteFailed({});
}

QString UnsavedSettingsNotice::text(const QString& path)
{
    return QStringLiteral("設定ファイルに書き込めないため、設定と履歴を保存できません。\n%1\n\n"
                          "このまま続けると、変更した設定と見た草花の履歴は次の起動のときに元に戻ります。")
        .arg(QDir::toNativeSeparators(path));
}

void UnsavedSettingsNotice::writeFailed()
{
    if (shown_)
        return;
    shown_ = true;
    boxes_.show(nullptr, text(file_.path()), MessageBoxes::Buttons::Ok, MessageBoxes::Icon::Exclamation);
}
