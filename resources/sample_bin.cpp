#include <tank/resources/sample_bin.hpp>

namespace tank {

constinit global_instance<sample_bin_class> samples_bin_instance;
constinit sample_bin_class& samples_bin = samples_bin_instance.object();

ALLEGRO_SAMPLE* get_sample(const std::string& name) { return samples_bin.get(name); }

}  // namespace tank
