#ifndef VLAU_RESOURCES_STRS_H_
#define VLAU_RESOURCES_STRS_H_

namespace vlau {

// String resources of the program.
inline constexpr char kServiceDescriptionFormat[] = "Autoupdate Velmora applications v.%s";
inline constexpr char kUpdateProcessTerminated[] = "Update process is terminated!";

// Stored properties of the service module.
inline constexpr char kServiceName[] = "VLAppUpd";
inline constexpr char kServiceDisplayName[] = "Velmora Appication Updater";

}  // namespace vlau

#endif  // VLAU_RESOURCES_STRS_H_
