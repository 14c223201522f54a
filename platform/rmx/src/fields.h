// Generated accessors: the implementation reads and writes the objects' fields through these.
#pragma once

#define RMX_FIELDS \
    static auto& m_id(ISchemaObject* o) { return o->m_id; } \
    static const auto& m_id(const ISchemaObject* o) { return o->m_id; } \
    static auto& m_design(ISchemaObject* o) { return o->m_design; } \
    static const auto& m_design(const ISchemaObject* o) { return o->m_design; } \
    static auto& m_alive(ISchemaObject* o) { return o->m_alive; } \
    static const auto& m_alive(const ISchemaObject* o) { return o->m_alive; } \
    static auto& m_props(ISchemaObject* o) { return o->m_props; } \
    static const auto& m_props(const ISchemaObject* o) { return o->m_props; } \
    static auto& m_first(CAlias* o) { return o->m_first; } \
    static const auto& m_first(const CAlias* o) { return o->m_first; } \
    static auto& m_second(CAlias* o) { return o->m_second; } \
    static const auto& m_second(const CAlias* o) { return o->m_second; } \
    static auto& m_name(ITerm* o) { return o->m_name; } \
    static const auto& m_name(const ITerm* o) { return o->m_name; } \
    static auto& m_display(ITerm* o) { return o->m_display; } \
    static const auto& m_display(const ITerm* o) { return o->m_display; } \
    static auto& m_msb(ITerm* o) { return o->m_msb; } \
    static const auto& m_msb(const ITerm* o) { return o->m_msb; } \
    static auto& m_lsb(ITerm* o) { return o->m_lsb; } \
    static const auto& m_lsb(const ITerm* o) { return o->m_lsb; } \
    static auto& m_direction(ITerm* o) { return o->m_direction; } \
    static const auto& m_direction(const ITerm* o) { return o->m_direction; } \
    static auto& m_type(ITerm* o) { return o->m_type; } \
    static const auto& m_type(const ITerm* o) { return o->m_type; } \
    static auto& m_instance(IInstTerm* o) { return o->m_instance; } \
    static const auto& m_instance(const IInstTerm* o) { return o->m_instance; } \
    static auto& m_bits(IInstTerm* o) { return o->m_bits; } \
    static const auto& m_bits(const IInstTerm* o) { return o->m_bits; } \
    static auto& m_pairs(IInstTerm* o) { return o->m_pairs; } \
    static const auto& m_pairs(const IInstTerm* o) { return o->m_pairs; } \
    static auto& m_name(INet* o) { return o->m_name; } \
    static const auto& m_name(const INet* o) { return o->m_name; } \
    static auto& m_msb(INet* o) { return o->m_msb; } \
    static const auto& m_msb(const INet* o) { return o->m_msb; } \
    static auto& m_lsb(INet* o) { return o->m_lsb; } \
    static const auto& m_lsb(const INet* o) { return o->m_lsb; } \
    static auto& m_scope(INet* o) { return o->m_scope; } \
    static const auto& m_scope(const INet* o) { return o->m_scope; } \
    static auto& m_type(INet* o) { return o->m_type; } \
    static const auto& m_type(const INet* o) { return o->m_type; } \
    static auto& m_bits(INet* o) { return o->m_bits; } \
    static const auto& m_bits(const INet* o) { return o->m_bits; } \
    static auto& m_aliases(INet* o) { return o->m_aliases; } \
    static const auto& m_aliases(const INet* o) { return o->m_aliases; } \
    static auto& m_pairs(INet* o) { return o->m_pairs; } \
    static const auto& m_pairs(const INet* o) { return o->m_pairs; } \
    static auto& m_name(IInstance* o) { return o->m_name; } \
    static const auto& m_name(const IInstance* o) { return o->m_name; } \
    static auto& m_lib(IInstance* o) { return o->m_lib; } \
    static const auto& m_lib(const IInstance* o) { return o->m_lib; } \
    static auto& m_cell(IInstance* o) { return o->m_cell; } \
    static const auto& m_cell(const IInstance* o) { return o->m_cell; } \
    static auto& m_view(IInstance* o) { return o->m_view; } \
    static const auto& m_view(const IInstance* o) { return o->m_view; } \
    static auto& m_pinsById(IInstance* o) { return o->m_pinsById; } \
    static const auto& m_pinsById(const IInstance* o) { return o->m_pinsById; } \
    static auto& m_pins(IInstance* o) { return o->m_pins; } \
    static const auto& m_pins(const IInstance* o) { return o->m_pins; } \
    static auto& m_pinsByName(IInstance* o) { return o->m_pinsByName; } \
    static const auto& m_pinsByName(const IInstance* o) { return o->m_pinsByName; } \
    static auto& m_dpPins(IInstance* o) { return o->m_dpPins; } \
    static const auto& m_dpPins(const IInstance* o) { return o->m_dpPins; } \
    static auto& m_powerNets(IInstance* o) { return o->m_powerNets; } \
    static const auto& m_powerNets(const IInstance* o) { return o->m_powerNets; } \
    static auto& m_name(IDPNet* o) { return o->m_name; } \
    static const auto& m_name(const IDPNet* o) { return o->m_name; } \
    static auto& m_pos(IDPNet* o) { return o->m_pos; } \
    static const auto& m_pos(const IDPNet* o) { return o->m_pos; } \
    static auto& m_posBit(IDPNet* o) { return o->m_posBit; } \
    static const auto& m_posBit(const IDPNet* o) { return o->m_posBit; } \
    static auto& m_neg(IDPNet* o) { return o->m_neg; } \
    static const auto& m_neg(const IDPNet* o) { return o->m_neg; } \
    static auto& m_negBit(IDPNet* o) { return o->m_negBit; } \
    static const auto& m_negBit(const IDPNet* o) { return o->m_negBit; } \
    static auto& m_posPol(IDPNet* o) { return o->m_posPol; } \
    static const auto& m_posPol(const IDPNet* o) { return o->m_posPol; } \
    static auto& m_negPol(IDPNet* o) { return o->m_negPol; } \
    static const auto& m_negPol(const IDPNet* o) { return o->m_negPol; } \
    static auto& m_msb(IDPNet* o) { return o->m_msb; } \
    static const auto& m_msb(const IDPNet* o) { return o->m_msb; } \
    static auto& m_lsb(IDPNet* o) { return o->m_lsb; } \
    static const auto& m_lsb(const IDPNet* o) { return o->m_lsb; } \
    static auto& m_conns(IDPNet* o) { return o->m_conns; } \
    static const auto& m_conns(const IDPNet* o) { return o->m_conns; } \
    static auto& m_name(IDPInstTerm* o) { return o->m_name; } \
    static const auto& m_name(const IDPInstTerm* o) { return o->m_name; } \
    static auto& m_instance(IDPInstTerm* o) { return o->m_instance; } \
    static const auto& m_instance(const IDPInstTerm* o) { return o->m_instance; } \
    static auto& m_pos(IDPInstTerm* o) { return o->m_pos; } \
    static const auto& m_pos(const IDPInstTerm* o) { return o->m_pos; } \
    static auto& m_posBit(IDPInstTerm* o) { return o->m_posBit; } \
    static const auto& m_posBit(const IDPInstTerm* o) { return o->m_posBit; } \
    static auto& m_neg(IDPInstTerm* o) { return o->m_neg; } \
    static const auto& m_neg(const IDPInstTerm* o) { return o->m_neg; } \
    static auto& m_negBit(IDPInstTerm* o) { return o->m_negBit; } \
    static const auto& m_negBit(const IDPInstTerm* o) { return o->m_negBit; } \
    static auto& m_msb(IDPInstTerm* o) { return o->m_msb; } \
    static const auto& m_msb(const IDPInstTerm* o) { return o->m_msb; } \
    static auto& m_lsb(IDPInstTerm* o) { return o->m_lsb; } \
    static const auto& m_lsb(const IDPInstTerm* o) { return o->m_lsb; } \
    static auto& m_origin(IDPInstTerm* o) { return o->m_origin; } \
    static const auto& m_origin(const IDPInstTerm* o) { return o->m_origin; } \
    static auto& m_members(IDPInstTerm* o) { return o->m_members; } \
    static const auto& m_members(const IDPInstTerm* o) { return o->m_members; } \
    static auto& m_parent(IDPInstTerm* o) { return o->m_parent; } \
    static const auto& m_parent(const IDPInstTerm* o) { return o->m_parent; } \
    static auto& m_conn(IDPInstTerm* o) { return o->m_conn; } \
    static const auto& m_conn(const IDPInstTerm* o) { return o->m_conn; } \
    static auto& m_dts(IDPInstTerm* o) { return o->m_dts; } \
    static const auto& m_dts(const IDPInstTerm* o) { return o->m_dts; } \
    static auto& m_net(IDPConn* o) { return o->m_net; } \
    static const auto& m_net(const IDPConn* o) { return o->m_net; } \
    static auto& m_pin(IDPConn* o) { return o->m_pin; } \
    static const auto& m_pin(const IDPConn* o) { return o->m_pin; } \
    static auto& m_netMsb(IDPConn* o) { return o->m_netMsb; } \
    static const auto& m_netMsb(const IDPConn* o) { return o->m_netMsb; } \
    static auto& m_netLsb(IDPConn* o) { return o->m_netLsb; } \
    static const auto& m_netLsb(const IDPConn* o) { return o->m_netLsb; } \
    static auto& m_pinMsb(IDPConn* o) { return o->m_pinMsb; } \
    static const auto& m_pinMsb(const IDPConn* o) { return o->m_pinMsb; } \
    static auto& m_pinLsb(IDPConn* o) { return o->m_pinLsb; } \
    static const auto& m_pinLsb(const IDPConn* o) { return o->m_pinLsb; } \
    static auto& m_dts(IDPConn* o) { return o->m_dts; } \
    static const auto& m_dts(const IDPConn* o) { return o->m_dts; } \
    static auto& m_name(IDTInstance* o) { return o->m_name; } \
    static const auto& m_name(const IDTInstance* o) { return o->m_name; } \
    static auto& m_type(IDTInstance* o) { return o->m_type; } \
    static const auto& m_type(const IDTInstance* o) { return o->m_type; } \
    static auto& m_kind(IDTInstance* o) { return o->m_kind; } \
    static const auto& m_kind(const IDTInstance* o) { return o->m_kind; } \
    static auto& m_attach(IDTInstance* o) { return o->m_attach; } \
    static const auto& m_attach(const IDTInstance* o) { return o->m_attach; } \
    static auto& m_pin(IDTInstance* o) { return o->m_pin; } \
    static const auto& m_pin(const IDTInstance* o) { return o->m_pin; } \
    static auto& m_net(IDTInstance* o) { return o->m_net; } \
    static const auto& m_net(const IDTInstance* o) { return o->m_net; } \
    static auto& m_bit(IDTInstance* o) { return o->m_bit; } \
    static const auto& m_bit(const IDTInstance* o) { return o->m_bit; } \
    static auto& m_dpConn(IDTInstance* o) { return o->m_dpConn; } \
    static const auto& m_dpConn(const IDTInstance* o) { return o->m_dpConn; } \
    static auto& m_dpPin(IDTInstance* o) { return o->m_dpPin; } \
    static const auto& m_dpPin(const IDTInstance* o) { return o->m_dpPin; } \
    static auto& m_server(IDesign* o) { return o->m_server; } \
    static const auto& m_server(const IDesign* o) { return o->m_server; } \
    static auto& m_name(IDesign* o) { return o->m_name; } \
    static const auto& m_name(const IDesign* o) { return o->m_name; } \
    static auto& m_lib(IDesign* o) { return o->m_lib; } \
    static const auto& m_lib(const IDesign* o) { return o->m_lib; } \
    static auto& m_cell(IDesign* o) { return o->m_cell; } \
    static const auto& m_cell(const IDesign* o) { return o->m_cell; } \
    static auto& m_view(IDesign* o) { return o->m_view; } \
    static const auto& m_view(const IDesign* o) { return o->m_view; } \
    static auto& m_dir(IDesign* o) { return o->m_dir; } \
    static const auto& m_dir(const IDesign* o) { return o->m_dir; } \
    static auto& m_symbol(IDesign* o) { return o->m_symbol; } \
    static const auto& m_symbol(const IDesign* o) { return o->m_symbol; } \
    static auto& m_modified(IDesign* o) { return o->m_modified; } \
    static const auto& m_modified(const IDesign* o) { return o->m_modified; } \
    static auto& m_saveCount(IDesign* o) { return o->m_saveCount; } \
    static auto& m_fileStamp(IDesign* o) { return o->m_fileStamp; } \
    static auto& m_instances(IDesign* o) { return o->m_instances; } \
    static const auto& m_instances(const IDesign* o) { return o->m_instances; } \
    static auto& m_nets(IDesign* o) { return o->m_nets; } \
    static const auto& m_nets(const IDesign* o) { return o->m_nets; } \
    static auto& m_dpNets(IDesign* o) { return o->m_dpNets; } \
    static const auto& m_dpNets(const IDesign* o) { return o->m_dpNets; } \
    static auto& m_dts(IDesign* o) { return o->m_dts; } \
    static const auto& m_dts(const IDesign* o) { return o->m_dts; } \
    static auto& m_ports(IDesign* o) { return o->m_ports; } \
    static const auto& m_ports(const IDesign* o) { return o->m_ports; } \
    static auto& m_portsByName(IDesign* o) { return o->m_portsByName; } \
    static const auto& m_portsByName(const IDesign* o) { return o->m_portsByName; } \
    static auto& m_aliases(IDesign* o) { return o->m_aliases; } \
    static const auto& m_aliases(const IDesign* o) { return o->m_aliases; } \
    static auto& m_nextPinId(IDesign* o) { return o->m_nextPinId; } \
    static const auto& m_nextPinId(const IDesign* o) { return o->m_nextPinId; } \
    static auto& m_nextDPPinId(IDesign* o) { return o->m_nextDPPinId; } \
    static const auto& m_nextDPPinId(const IDesign* o) { return o->m_nextDPPinId; } \
    static auto& m_nextAliasId(IDesign* o) { return o->m_nextAliasId; } \
    static const auto& m_nextAliasId(const IDesign* o) { return o->m_nextAliasId; } \
    static auto& m_owned(IDesign* o) { return o->m_owned; } \
    static const auto& m_owned(const IDesign* o) { return o->m_owned; } \
    static auto& m_savedInterface(IDesign* o) { return o->m_savedInterface; } \
    static const auto& m_savedInterface(const IDesign* o) { return o->m_savedInterface; } \
    static auto& m_owner(CPropertyChange* o) { return o->m_owner; } \
    static const auto& m_owner(const CPropertyChange* o) { return o->m_owner; } \
    static auto& m_bit(CPropertyChange* o) { return o->m_bit; } \
    static const auto& m_bit(const CPropertyChange* o) { return o->m_bit; } \
    static auto& m_kind(CPropertyChange* o) { return o->m_kind; } \
    static const auto& m_kind(const CPropertyChange* o) { return o->m_kind; } \
    static auto& m_path(CPropertyChange* o) { return o->m_path; } \
    static const auto& m_path(const CPropertyChange* o) { return o->m_path; } \
    static auto& m_name(CPropertyChange* o) { return o->m_name; } \
    static const auto& m_name(const CPropertyChange* o) { return o->m_name; } \
    static auto& m_old(CPropertyChange* o) { return o->m_old; } \
    static const auto& m_old(const CPropertyChange* o) { return o->m_old; } \
    static auto& m_new(CPropertyChange* o) { return o->m_new; } \
    static const auto& m_new(const CPropertyChange* o) { return o->m_new; } \
    static auto& m_hadOld(CPropertyChange* o) { return o->m_hadOld; } \
    static const auto& m_hadOld(const CPropertyChange* o) { return o->m_hadOld; } \
    static auto& m_hasNew(CPropertyChange* o) { return o->m_hasNew; } \
    static const auto& m_hasNew(const CPropertyChange* o) { return o->m_hasNew; } \
    static auto& m_type(IChange* o) { return o->m_type; } \
    static const auto& m_type(const IChange* o) { return o->m_type; } \
    static auto& m_kind(IChange* o) { return o->m_kind; } \
    static const auto& m_kind(const IChange* o) { return o->m_kind; } \
    static auto& m_object(IChange* o) { return o->m_object; } \
    static const auto& m_object(const IChange* o) { return o->m_object; } \
    static auto& m_design(IChange* o) { return o->m_design; } \
    static const auto& m_design(const IChange* o) { return o->m_design; } \
    static auto& m_removed(IChange* o) { return o->m_removed; } \
    static const auto& m_removed(const IChange* o) { return o->m_removed; } \
    static auto& m_added(IChange* o) { return o->m_added; } \
    static const auto& m_added(const IChange* o) { return o->m_added; } \
    static auto& m_server(CContext* o) { return o->m_server; } \
    static const auto& m_server(const CContext* o) { return o->m_server; } \
    static auto& m_root(CContext* o) { return o->m_root; } \
    static const auto& m_root(const CContext* o) { return o->m_root; } \
    static auto& m_hier(CContext* o) { return o->m_hier; } \
    static const auto& m_hier(const CContext* o) { return o->m_hier; } \
    static auto& m_obj(CContext* o) { return o->m_obj; } \
    static const auto& m_obj(const CContext* o) { return o->m_obj; } \
    static auto& m_bit(CContext* o) { return o->m_bit; } \
    static const auto& m_bit(const CContext* o) { return o->m_bit; } \
    static auto& m_state(CTransaction* o) { return o->m_state; } \
    static const auto& m_state(const CTransaction* o) { return o->m_state; } \
    static auto& m_number(IDesign* o) { return o->m_number; } \
    static const auto& m_number(const IDesign* o) { return o->m_number; } \
    static auto& m_cpath(CPropertyChange* o) { return o->m_cpath; } \
    static auto& m_context(const CPropertyChange* o) { return o->m_context; } \
    static_assert(true)
