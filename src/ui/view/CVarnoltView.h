#pragma once

#include <QWidget>

namespace varnolt {
class CVarnoltDoc;
}

namespace varnolt::ui {

// The data view: shows the document's capture. It receives the update codes of the commands.
class CVarnoltView final : public QWidget {
    Q_OBJECT

public:
    explicit CVarnoltView(CVarnoltDoc& document, QWidget* parent = nullptr);

    // Carries out an update code sent through the document.
    void onUpdate(int updateCode);

signals:
    // Every update code received, after it was carried out.
    void updated(int updateCode);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CVarnoltDoc& document_;
};

} // namespace varnolt::ui
