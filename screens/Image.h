#pragma once
#include <QImage>
#include <QLabel>
#include <QString>

#include <optional>

// An image control: shows its picture stretched to its own size. With Transparent set, the
// colour of the picture's bottom-left pixel is left out, so the face sits on the panel colour.
// The picture itself is kept as loaded, so copying or sending it passes the original on.
class TImage : public QLabel {
 public:
  explicit TImage(QWidget* parent = nullptr);

  bool Transparent = false;
  int Tag = 0;

  // Answers false (picture unchanged) when the file is missing or is no whole bitmap.
  bool LoadFromFile(const QString& path);
  // The picture a file holds: a whole bitmap in a plain file, or nothing.
  static std::optional<QImage> PictureOf(const QString& path);
  void SetPicture(const QImage& picture);
  void Assign(const TImage& other) { SetPicture(other.Picture()); }
  void Clear() { SetPicture(QImage()); }
  const QImage& Picture() const { return picture_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Refresh();
  QImage picture_;
};
