#include "registry.hpp"

#include "cases/fixed_scenarios.hpp"
#include "cases/host_route_coverage.hpp"
#include "cases/profiled_gemm.hpp"
#include "cases/randomized_scenarios.hpp"
#include "ipu_runner_contract/names.hpp"

namespace hardware_suite {

namespace contract = ipu_runner_contract;

const std::vector<RegisteredCase>& registry() {
    static const std::vector<RegisteredCase> cases = {
        {"all_tile_permutation_works",
         graph_case("permutation", "launch permutation hardware test runner",
                    "all-tile permutation graph")},
        {"all_tile_reduction_works",
         graph_case("reduction", "launch reduction hardware test runner",
                    "all-tile reduction graph")},
        {"blocked_gemm_with_cycle_profile_works", blocked_gemm_with_cycle_profile_works},
        {"compiler_segmented_allocation_executes_on_hardware",
         graph_case("compiler-segmented-add", "launch compiler allocation hardware test runner",
                    "compiler-generated add spanning segmented SRAM arenas")},
        {"direct_multicast_works",
         graph_case("fanout", "launch direct multicast hardware test runner",
                    "single-source multicast graph")},
        {"distinct_sources_can_write_disjoint_host_ranges",
         host_case({{contract::host_test_tiles, "1471,274"}, {contract::host_test_bytes, "64"}},
                   "distinct multi-source D2H")},
        {"flash_attention_matches_host_softmax_across_encoder_shapes",
         flash_attention_matches_host_softmax_across_encoder_shapes},
        {"h2d_compute_d2d_compute_d2h_works",
         host_case({{contract::host_test_compute_relay, "1"}, {contract::host_test_bytes, "4"}},
                   "H2D, compute, D2D, compute, and D2H composition")},
        {"high_address_large_h2d_and_d2h_work",
         host_case({{contract::host_test_tile, "100"},
                    {contract::host_test_bytes, "65536"},
                    {contract::host_test_address, "0x60000"}},
                   "64-KiB high-address H2D and D2H")},
        {"host_routes_cover_every_endpoint_field", host_routes_cover_every_endpoint_field},
        {"initialized_d2d_relay_and_d2h_work",
         host_case(
             {{contract::host_test_exchange, "1"}, {contract::host_test_initialized_exchange, "1"}},
             "initialized D2D relay and D2H")},
        {"initialized_local_tile_d2h_works",
         host_case({{contract::host_test_d2h_only, "1"}}, "initialized tile D2H")},
        {"initialized_remote_tile_d2h_works", host_case({{contract::host_test_remote_d2h, "1"},
                                                         {contract::host_test_tile, "1471"},
                                                         {contract::host_test_bytes, "8192"}},
                                                        "remote-tile initialized D2H")},
        {"large_h2d_timed_relay_and_d2h_composition_works",
         host_case({{contract::host_test_exchange, "1"}, {contract::host_test_bytes, "2048"}},
                   "large H2D, timed D2D relay, and D2H composition")},
        {"local_h2d_and_d2h_round_trip_works", host_case({}, "local H2D and D2H")},
        {"multicast_receiver_can_send_in_same_phase",
         graph_case("multicast", "launch multicast hardware test runner",
                    "multicast graph with a receiver that sends in the same phase")},
        {"randomized_multi_tile_host_round_trips_work",
         randomized_multi_tile_host_round_trips_work},
        {"randomized_static_d2d_graphs_work", randomized_static_d2d_graphs_work},
        {"remote_tile_h2d_and_d2h_work",
         host_case({{contract::host_test_tile, "1471"}, {contract::host_test_bytes, "8192"}},
                   "remote-tile H2D and D2H")},
        {"sparse_compute_to_dense_exchange_works",
         graph_case("reduction-permutation", "launch compute-to-exchange hardware test runner",
                    "sparse compute followed by an all-tile exchange")},
    };
    return cases;
}

}  // namespace hardware_suite
