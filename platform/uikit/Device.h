#pragma once

#include <mutex>
#include <string>

namespace uikit {

enum class UserInterfaceIdiom { phone, pad };

// The device the application runs on. Settable so tests can pose as any device.
class Device {
  public:
    static Device& current();

    std::string model() const;
    void setModel(std::string model);
    std::string name() const;
    void setName(std::string name);
    std::string systemName() const;
    void setSystemName(std::string name);
    std::string systemVersion() const;
    void setSystemVersion(std::string version);
    UserInterfaceIdiom userInterfaceIdiom() const;
    void setUserInterfaceIdiom(UserInterfaceIdiom idiom);

    // Whether the system version is at least the given one ("13.0"), compared numerically
    // part by part ("13.10" is above "13.9").
    bool systemVersionAtLeast(const std::string& version) const;

  private:
    mutable std::mutex mutex_;
    std::string model_ = "iPhone";
    std::string name_ = "iPhone";
    std::string systemName_ = "iOS";
    std::string systemVersion_ = "14.4";
    UserInterfaceIdiom idiom_ = UserInterfaceIdiom::phone;
};

}  // namespace uikit
