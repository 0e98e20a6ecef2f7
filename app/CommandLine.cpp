#include "app/CommandLine.h"

#include <QFileInfo>

CommandLine::Request CommandLine::parse(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return Request::Help;
        if (a == QLatin1String("--version"))
            return Request::Version;
    }
    return Request::Run;
}

CommandLine::Request CommandLine::parse(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments);
}

QString CommandLine::versionText(const QString& commit)
{
    return QStringLiteral("ソノハ 3.47（コミット %1）\n").arg(commit.isEmpty() ? QStringLiteral("不明") : commit);
}

QString CommandLine::usageText(const QString& program)
{
    const QString name = program.isEmpty() ? QStringLiteral("sonoha") : QFileInfo(program).fileName();
    return QStringLiteral("使い方: %1 [--help | --version]\n"
                          "\n"
                          "ソノハ 3.47 — 身近な草花の検索図鑑です。見かけた花の季節・色・花弁の形・葉のつき方・科を\n"
                          "選ぶと、当てはまる草花の絵と解説を表示します。操作はマウスの右ボタンのメニューから。\n"
                          "\n"
                          "  -h, --help   この説明を表示して終了します\n"
                          "  --version    バージョンとビルドのコミットを表示して終了します\n"
                          "\n"
                          "設定と履歴はプログラムのフォルダのSNH347.snhに保存します。フォルダに書き込めないとき\n"
                          "（インストールしたときなど）は $XDG_CONFIG_HOME/sonoha/ に、編集した図鑑のデータは\n"
                          "$XDG_DATA_HOME/sonoha/ に保存します。\n")
        .arg(name);
}
