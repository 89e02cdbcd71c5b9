#pragma once
// Root of the framework's classes: a virtual destructor, the class name the
// driver reports, and assignment between persistent objects.
#include <functional>
#include <string>

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  virtual std::string ClassName() const { return "TObject"; }
};

// Event handlers take the sender, as in the classic framework.
using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
public:
  std::string ClassName() const override { return "TPersistent"; }
  // Copies the state of source; raises EConvertError when the kinds do not match.
  virtual void Assign(const TPersistent& source);

protected:
  // Called when the source does not know this kind; default raises the error.
  virtual void AssignTo(TPersistent& dest) const;
};
