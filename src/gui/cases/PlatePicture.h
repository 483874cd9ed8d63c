#pragma once
// The picture of the case condition dialog: the plate of the chosen table
// type drawn to the proportions of its spans, the fixed edges hatched and the
// free edge dashed, the spans Lx and Ly as dimension lines and the load from
// QA to QB along Lx. Lx runs from the edge of point 1 (x = 0, load QA) to the
// opposite edge (load QB), which is the free edge of the three-fixed types.

#include <QWidget>

namespace ormavex::gui {

class PlatePicture : public QWidget {
    Q_OBJECT
public:
    explicit PlatePicture(QWidget* parent = nullptr);

    void setPlate(int typeIndex, double lx, double ly, double qa, double qb, int places);
    QSize sizeHint() const override { return {340, 320}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_type = -1;
    double m_lx = 0.0;
    double m_ly = 0.0;
    double m_qa = 0.0;
    double m_qb = 0.0;
    int m_places = 2;
};

} // namespace ormavex::gui
