// The window layer grows here.
namespace duplora {}
