#pragma once
// The about box: product picture, version, and the product's web address.
#include <QDialog>
#include <QString>
#include <optional>

class QLabel;

struct VersionInfo
{
    std::optional<QString> productVersion;
    std::optional<QString> fileVersion;
};

// The version label's text. No version information at all leaves the label as it is
// (nullopt); without a product version the label is cleared at creation and reads
// "v1.2 (build 200)" once shown.
std::optional<QString> versionLabelText(const std::optional<VersionInfo> &info, bool whenShown);

// The version compiled into this program.
VersionInfo programVersionInfo();

// The product's web address, kept as a translatable text.
QString productWebAddress();

// Opens a web address in the user's browser; when none takes it, says so in an error box that
// names the address (the user can still type it by hand). False when it could not be opened.
bool openWebAddress(QWidget *parent, const QString &address);
inline bool openProductWebPage(QWidget *parent) { return openWebAddress(parent, productWebAddress()); }

class TfrmSobre : public QDialog
{
    Q_OBJECT
public:
    // `info` is the version information the box reads: the program's own unless a caller
    // (a test) hands in another.
    explicit TfrmSobre(QWidget *parent = nullptr, const std::optional<VersionInfo> &info = programVersionInfo());
    void retranslate();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyVersion(bool whenShown);

    std::optional<VersionInfo> m_info;
    QLabel *m_verTit;
    QLabel *m_versao;
    QLabel *m_link;
};
